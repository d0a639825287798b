// The rollback journal beside the image (`<image>-journal`): the original bytes of every region
// a stretch of work is about to change, written and synced before the image is touched, so that
// a stretch cut short (a kill, a power loss, a failed write) can be undone by whoever takes the
// image's lock next. The journal is invalidated (its header zeroed) once the image is written
// and synced; the file itself is kept.
//
// Layout, little-endian:
//   0  8 bytes  magic "FS5JRNL1"
//   8  8 bytes  the image's length before the stretch
//  16  4 bytes  the number of records
//  20  4 bytes  the size of the records, in bytes
//  24  8 bytes  FNV-1a checksum of bytes 8 to 23 and of the records
//  32  records, each: an 8-byte offset in the image, a 4-byte length, the original bytes
// A journal whose magic, sizes or checksum do not match (torn by a power loss, zeroed, empty)
// is not valid and is ignored.
#ifndef FS5_STORAGE_JOURNAL_H_
#define FS5_STORAGE_JOURNAL_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fs5 {

inline constexpr std::size_t JOURNAL_HEADER_SIZE = 32;

struct JournalRecord {
  int64_t offset = 0;
  std::vector<uint8_t> bytes;
};

struct Journal {
  // The image's length to restore, and its original bytes.
  int64_t imageLength = 0;
  std::vector<JournalRecord> records;
};

// "<image>-journal".
std::string journalPathFor(const std::string& imagePath);

std::vector<uint8_t> encodeJournal(const Journal& journal);
// The size of the records a valid header announces, or nothing when `header`
// (JOURNAL_HEADER_SIZE bytes) is not the header of a journal.
std::optional<uint32_t> journalBodySize(const uint8_t* header);
// The journal held by `bytes` (a header and the records it announces), or nothing when the
// bytes are not a valid journal.
std::optional<Journal> decodeJournal(const std::vector<uint8_t>& bytes);

// Undoes a stretch in an image held in memory: the original bytes put back, the length restored.
void rollBackInMemory(const Journal& journal, std::vector<uint8_t>& image);

// Reads the journal file beside the image; nothing when it is missing or not valid.
std::optional<Journal> readJournalFile(const std::string& imagePath);

}  // namespace fs5

#endif  // FS5_STORAGE_JOURNAL_H_
