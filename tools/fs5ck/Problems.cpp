#include "tools/fs5ck/Problems.h"

#include <algorithm>
#include <iterator>

namespace fs5 {

namespace {

using enum Problem;
using enum Repair;

constexpr ProblemRow kProblems[] = {
    {kMapByte, "{} {}: map byte is {}, not 0 or 1.", true, kMapByteSet},
    {kFreeRecordSet, "i-node {}: free but its record is not all zero.", false, kRecordZeroed},
    {kUsedRecordZero, "i-node {}: used but its record is all zero.", true, kMarkedFree},
    {kUnknownType, "i-node {}: used but its type is {}, neither 1 (folder) nor 2 (file).", false,
     kTypeSet},
    {kBlockCount, "i-node {}: block count is {}, not 1 to 100.", false, kBlockCountSet},
    {kUnlistedSlot, "i-node {}: unlisted block slot {} holds {}, not 0.", false, kSlotsZeroed},
    {kBlockOutside, "i-node {}: lists datablock {}, outside the datablock area.", false,
     kBlockTakenOut},
    {kBlockTwice, "i-node {}: lists datablock {} twice.", false, kBlockCopied},
    {kBlockFree, "i-node {}: lists datablock {}, which is free in the map.", true, kMarkedUsed},
    {kBlockShared, "i-node {}: lists datablock {}, already listed by i-node {}.", false,
     kBlockCopied},
    // -p frees it only when its bytes are zero; -y keeps one that is not (kBlockKept).
    {kBlockLeaked, "datablock {}: used but listed by no i-node.", true, kMarkedFree},
    {kFreeBlockSet, "datablock {}: free but not all zero.", false, kBlockZeroed},
    {kRootFree, "i-node 0: the root folder is free in the map.", true, kMarkedUsed},
    {kRootNotFolder, "i-node 0: the root is not a folder.", false, kTypeSet},
    {kEntryCount, "{}: datablock {} has the entry count {}, not 0 to 3.", false, kBlocksRewritten},
    {kBlockNotFull, "{}: datablock {} holds {} entries but is not the folder's last.", false,
     kBlocksRewritten},
    {kLastBlockEmpty, "{}: datablock {} is the folder's last but holds no entries.", false,
     kBlockGivenBack},
    {kSlotPastCount, "{}: datablock {} slot {} is past the entry count but not zero.", false,
     kBlocksRewritten},
    {kNoDotDot, "{}: the first datablock does not start with \"..\".", false, kDotDotSet},
    {kDotDotWrong, "{}: \"..\" names i-node {} instead of {}.", false, kDotDotSet},
    {kNoDot, "{}: the second entry of the first datablock is not \".\".", false, kDotSet},
    {kDotWrong, "{}: \".\" names i-node {} instead of {}.", false, kDotSet},
    {kDotOutOfPlace, "{}: datablock {} slot {} holds an entry \"{}\" out of its place.", false,
     kEntryTakenOut},
    {kEmptyName, "{}: datablock {} slot {} holds an entry with an empty name.", false,
     kEntryTakenOut},
    {kSlashInName, "{}: the entry \"{}\" has a \"/\" in its name.", false, kEntryTakenOut},
    {kNameTwice, "{}: the name \"{}\" is entered more than once.", false, kEntryTakenOut},
    {kEntryOutside, "{}: names i-node {}, outside the i-node table.", false, kEntryTakenOut},
    // -p marks the i-node used when its record is not zero; -y otherwise takes the entry out.
    {kEntryFree, "{}: names i-node {}, which is free in the map.", true, kMarkedUsed},
    {kOnOwnPath, "{}: names i-node {} ({}), a folder on its own path.", false, kEntryTakenOut},
    {kReachedTwice, "{}: names i-node {}, already reached as {}.", false, kEntryTakenOut},
    {kTooDeep, "{}: deeper than 8 levels.", false, kEntryTakenOut},
    {kOrphan, "i-node {}: used but reached by no entry.", false, kReconnected},
    {kNoAccountFolder, "{}: not found.", false, kFolderMade},
    {kAccountFolderNotFolder, "{}: not a folder.", false, kNotFolderTakenOut},
    {kAccountNotFile, "{}: not a file.", false, kEntryTakenOut},
    {kUserNumberOutside, "{}: user number {} is outside the user map.", false, kUserNumberSet},
    {kUserNumberFree, "{}: user number {} is free in the user map.", true, kMarkedUsed},
    {kUserNumberShared, "{}: shares user number {} with \"{}\".", false, kUserNumberSet},
    {kSuperuserUnheld, "user number 0: the superuser's number is held by no account.", false,
     kRootAccountMade},
    {kSuperuserMisnamed, "user number 0: held by \"{}\", not by \"{}\".", false, kRenamedRoot},
    {kUserNumberUnheld, "user number {}: used but held by no account.", true, kMarkedFree},
};

constexpr RepairRow kRepairs[] = {
    {kMapByteSet, "{} {}: map byte set to 1."},
    {kMarkedUsed, "{} {}: marked used."},
    {kMarkedFree, "{} {}: marked free."},
    {kRecordZeroed, "i-node {}: record zeroed."},
    {kRootMade, "i-node 0: the root folder made anew."},
    {kTypeSet, "i-node {}: type set to {}."},
    {kBlockCountSet, "i-node {}: block count set to {}."},
    {kSlotsZeroed, "i-node {}: unlisted block slots zeroed."},
    {kBlockTakenOut, "i-node {}: datablock {} taken out of its list."},
    {kBlockCopied, "i-node {}: datablock {} copied to datablock {}."},
    {kBlockNotCopied,
     "i-node {}: datablock {} taken out of its list, no datablock is free for a copy."},
    {kBlockZeroed, "datablock {}: zeroed."},
    {kBlockKept, "datablock {}: kept as {}."},
    {kDotDotSet, "{}: \"..\" set to i-node {}."},
    {kDotSet, "{}: \".\" set to i-node {}."},
    {kEntryTakenOut, "{}: entry \"{}\" taken out."},
    {kNotFolderTakenOut, "{}: not a folder, entry taken out."},
    {kFolderMade, "{}: folder made."},
    {kReconnected, "i-node {}: reconnected as {}."},
    {kGivenEmptyBlock, "i-node {}: given an empty datablock."},
    {kBlockGivenBack, "{}: datablock {} given back."},
    {kBlockAdded, "{}: datablock {} added."},
    {kBlocksRewritten, "{}: datablocks rewritten."},
    {kUserNumberSet, "{}: user number set to {}."},
    {kRenamedRoot, "{}: renamed \"{}\", the holder of user number 0."},
    {kRootAccountMade,
     "{}: made for user number 0; the next start of fs5sh will ask for a new superuser "
     "password."},
};

// The template with each "{}" replaced by the next value.
std::string filled(const char* line, std::initializer_list<std::string> values) {
  std::string text(line);
  std::size_t at = 0;
  for (const std::string& value : values) {
    at = text.find("{}", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

}  // namespace

const ProblemRow& problemRow(Problem problem) {
  return *std::find_if(std::begin(kProblems), std::end(kProblems),
                       [&](const ProblemRow& row) { return row.problem == problem; });
}

std::string problemLine(Problem problem, std::initializer_list<std::string> values) {
  return filled(problemRow(problem).line, values);
}

std::string repairLine(Repair repair, std::initializer_list<std::string> values) {
  const RepairRow& row = *std::find_if(std::begin(kRepairs), std::end(kRepairs),
                                       [&](const RepairRow& r) { return r.repair == repair; });
  return filled(row.line, values);
}

}  // namespace fs5
