// The byte offsets of three fields of an i-node record (the table in storage/Inode.h). Inode
// bounds the block count and hides the unlisted slots of its block list when it reads a
// record; the checker and the repair read and set those fields as the record holds them.
#ifndef FS5_TOOLS_FS5CK_RECORDFIELDS_H_
#define FS5_TOOLS_FS5CK_RECORDFIELDS_H_

namespace fs5 {

inline constexpr int kRecordType = 4;
inline constexpr int kRecordBlocks = 6;
inline constexpr int kRecordBlockCount = 206;

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_RECORDFIELDS_H_
