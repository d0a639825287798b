#include "tools/fs5ck/Problems.h"

#include <algorithm>
#include <iterator>

namespace fs5 {

namespace {

using enum Problem;
using enum Repair;

// clang-format off
constexpr ProblemRow kProblems[] = {
  {kMapByte, true, kMapByteSet,
   "{} {}: map byte is {}, not 0 or 1.", nullptr, 1},
  {kFreeRecordSet, false, kRecordZeroed,
   "i-node {}: free but its record is not all zero."},
  {kUsedRecordZero, true, kMarkedFree,
   "i-node {}: used but its record is all zero.", "i-node", 0},
  {kUnknownType, false, kTypeSet,
   "i-node {}: used but its type is {}, neither 1 (folder) nor 2 (file)."},
  {kBlockCount, false, kBlockCountSet,
   "i-node {}: block count is {}, not 1 to 100."},
  {kUnlistedSlot, false, kSlotsZeroed,
   "i-node {}: unlisted block slot {} holds {}, not 0."},
  {kBlockOutside, false, kBlockTakenOut,
   "i-node {}: lists datablock {}, outside the datablock area."},
  {kBlockTwice, false, kBlockCopied,
   "i-node {}: lists datablock {} twice."},
  {kBlockFree, true, kMarkedUsed,
   "i-node {}: lists datablock {}, which is free in the map.", "datablock", 1},
  {kBlockShared, false, kBlockCopied,
   "i-node {}: lists datablock {}, already listed by i-node {}."},
  // -p frees it only when its bytes are zero; -y keeps one that is not (kBlockKept).
  {kBlockLeaked, true, kMarkedFree,
   "datablock {}: used but listed by no i-node.", "datablock", 0},
  {kFreeBlockSet, false, kBlockZeroed,
   "datablock {}: free but not all zero."},
  {kRootFree, true, kMarkedUsed,
   "i-node 0: the root folder is free in the map.", "i-node", -1},
  {kRootNotFolder, false, kTypeSet,
   "i-node 0: the root is not a folder."},
  {kEntryCount, false, kBlocksRewritten,
   "{}: datablock {} has the entry count {}, not 0 to 3."},
  {kBlockNotFull, false, kBlocksRewritten,
   "{}: datablock {} holds {} entries but is not the folder's last."},
  {kLastBlockEmpty, false, kBlockGivenBack,
   "{}: datablock {} is the folder's last but holds no entries."},
  {kSlotPastCount, false, kBlocksRewritten,
   "{}: datablock {} slot {} is past the entry count but not zero."},
  {kNoDotDot, false, kDotDotSet,
   "{}: the first datablock does not start with \"..\"."},
  {kDotDotWrong, false, kDotDotSet,
   "{}: \"..\" names i-node {} instead of {}."},
  {kNoDot, false, kDotSet,
   "{}: the second entry of the first datablock is not \".\"."},
  {kDotWrong, false, kDotSet,
   "{}: \".\" names i-node {} instead of {}."},
  {kDotOutOfPlace, false, kEntryTakenOut,
   "{}: datablock {} slot {} holds an entry \"{}\" out of its place."},
  {kEmptyName, false, kEntryTakenOut,
   "{}: datablock {} slot {} holds an entry with an empty name."},
  {kSlashInName, false, kEntryTakenOut,
   "{}: the entry \"{}\" has a \"/\" in its name."},
  {kNameTwice, false, kEntryTakenOut,
   "{}: the name \"{}\" is entered more than once."},
  {kEntryOutside, false, kEntryTakenOut,
   "{}: names i-node {}, outside the i-node table."},
  // -p marks the i-node used when its record is not zero; -y otherwise takes the entry out.
  {kEntryFree, true, kMarkedUsed,
   "{}: names i-node {}, which is free in the map.", "i-node", 1},
  {kOnOwnPath, false, kEntryTakenOut,
   "{}: names i-node {} ({}), a folder on its own path."},
  {kReachedTwice, false, kEntryTakenOut,
   "{}: names i-node {}, already reached as {}."},
  {kTooDeep, false, kEntryTakenOut,
   "{}: deeper than 8 levels."},
  {kOrphan, false, kReconnected,
   "i-node {}: used but reached by no entry."},
  {kNoAccountFolder, false, kFolderMade,
   "{}: not found."},
  {kAccountFolderNotFolder, false, kNotFolderTakenOut,
   "{}: not a folder."},
  {kAccountNotFile, false, kEntryTakenOut,
   "{}: not a file."},
  {kUserNumberOutside, false, kUserNumberSet,
   "{}: user number {} is outside the user map."},
  {kUserNumberFree, true, kMarkedUsed,
   "{}: user number {} is free in the user map.", "user number", 1},
  {kUserNumberShared, false, kUserNumberSet,
   "{}: shares user number {} with \"{}\"."},
  {kSuperuserUnheld, false, kRootAccountMade,
   "user number 0: the superuser's number is held by no account."},
  {kSuperuserMisnamed, false, kRenamedRoot,
   "user number 0: held by \"{}\", not by \"{}\"."},
  {kUserNumberUnheld, true, kMarkedFree,
   "user number {}: used but held by no account.", "user number", 0},
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
// clang-format on

// The template with each "{}" replaced by the next value.
std::string filled(const char* line, const std::vector<std::string>& values) {
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

const ProblemRow& problemRow(Problem problem) {
  return *std::find_if(std::begin(kProblems), std::end(kProblems),
                       [&](const ProblemRow& row) { return row.problem == problem; });
}

}  // namespace

std::string problemLine(const Finding& found) {
  return filled(problemRow(found.problem).line, found.values);
}

std::string losslessSubject(const Finding& found) {
  const ProblemRow& row = problemRow(found.problem);
  if (!row.lossless) return "";
  std::string number = row.number < 0 ? "0" : found.values[row.number];
  return (row.map != nullptr ? row.map : found.values[0]) + " " + number;
}

std::string repairLine(Repair repair, const std::vector<std::string>& values) {
  const RepairRow& row = *std::find_if(std::begin(kRepairs), std::end(kRepairs),
                                       [&](const RepairRow& r) { return r.repair == repair; });
  return filled(row.line, values);
}

}  // namespace fs5
