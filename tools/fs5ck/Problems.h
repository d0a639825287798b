// The one list of what fs5ck finds and what it does about it.
//
// Each problem has its line, whether fs5ck -p may repair it (its repair changes one map byte
// and loses nothing) and its repair; each repair has its line. The checker reports from this
// list, and the repair says what it did from it and lets -p change only the map bytes of the
// problems found whose rows are lossless (and of what their repairs bring into use). A line's
// "{}" are filled in order with the values the check or the repair gives, for example
//   problemLine({Problem::kMapByte, {"i-node", "5", "2"}})  "i-node 5: map byte is 2, not 0 or 1."
//   repairLine(Repair::kMapByteSet, {"i-node", "5"})       "i-node 5: map byte set to 1."
// The rows are in the order the checker's passes meet the problems: maps, i-node table,
// datablocks, root, tree, orphans, accounts.
#ifndef FS5_TOOLS_FS5CK_PROBLEMS_H_
#define FS5_TOOLS_FS5CK_PROBLEMS_H_

#include <string>
#include <vector>

namespace fs5 {

enum class Repair {
  kMapByteSet,
  kMarkedUsed,
  kMarkedFree,
  kRecordZeroed,
  kRootMade,
  kTypeSet,
  kBlockCountSet,
  kSlotsZeroed,
  kBlockTakenOut,
  kBlockCopied,
  kBlockNotCopied,
  kBlockZeroed,
  kBlockKept,
  kDotDotSet,
  kDotSet,
  kEntryTakenOut,
  kNotFolderTakenOut,
  kFolderMade,
  kReconnected,
  kGivenEmptyBlock,
  kBlockGivenBack,
  kBlockAdded,
  kBlocksRewritten,
  kUserNumberSet,
  kRenamedRoot,
  kRootAccountMade,
};

enum class Problem {
  kMapByte,
  kFreeRecordSet,
  kUsedRecordZero,
  kUnknownType,
  kBlockCount,
  kUnlistedSlot,
  kBlockOutside,
  kBlockTwice,
  kBlockFree,
  kBlockShared,
  kBlockLeaked,
  kFreeBlockSet,
  kRootFree,
  kRootNotFolder,
  kEntryCount,
  kBlockNotFull,
  kLastBlockEmpty,
  kSlotPastCount,
  kNoDotDot,
  kDotDotWrong,
  kNoDot,
  kDotWrong,
  kDotOutOfPlace,
  kEmptyName,
  kSlashInName,
  kNameTwice,
  kEntryOutside,
  kEntryFree,
  kOnOwnPath,
  kReachedTwice,
  kTooDeep,
  kOrphan,
  kNoAccountFolder,
  kAccountFolderNotFolder,
  kAccountNotFile,
  kUserNumberOutside,
  kUserNumberFree,
  kUserNumberShared,
  kSuperuserUnheld,
  kSuperuserMisnamed,
  kUserNumberUnheld,
};

struct ProblemRow {
  Problem problem;
  // True when fs5ck -p repairs it (a leaked datablock only when its bytes are zero).
  bool lossless;
  // What fs5ck -y does (and -p, when lossless).
  Repair repair;
  const char* line;
  // For a lossless row, the map byte its repair changes: the map (null when the first value
  // names it) and which value is the number (-1: number 0).
  const char* map = nullptr;
  int number = 0;
};

// One problem the check found, with the values of its line.
struct Finding {
  Problem problem;
  std::vector<std::string> values;
};

struct RepairRow {
  Repair repair;
  const char* line;
};

std::string problemLine(const Finding& found);
// "i-node 5", "datablock 40" or "user number 2": the map byte a found problem of a lossless
// row lets -p change; "" for any other.
std::string losslessSubject(const Finding& found);
std::string repairLine(Repair repair, const std::vector<std::string>& values);

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_PROBLEMS_H_
