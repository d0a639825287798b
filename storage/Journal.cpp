#include "storage/Journal.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace fs5 {

namespace {

constexpr char kMagic[8] = {'F', 'S', '5', 'J', 'R', 'N', 'L', '1'};
constexpr std::size_t kRecordHead = 12;

void encodeFixed(uint8_t* buf, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) buf[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t decodeFixed(const uint8_t* buf, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | buf[i];
  return value;
}

uint64_t checksum(const uint8_t* header, const uint8_t* body, std::size_t bodySize) {
  uint64_t h = 14695981039346656037ull;
  auto mix = [&h](const uint8_t* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  };
  mix(header + 8, 16);
  mix(body, bodySize);
  return h;
}

}  // namespace

std::string journalPathFor(const std::string& imagePath) { return imagePath + "-journal"; }

std::vector<uint8_t> encodeJournal(const Journal& journal) {
  std::vector<uint8_t> out(JOURNAL_HEADER_SIZE);
  for (const JournalRecord& r : journal.records) {
    std::size_t at = out.size();
    out.resize(at + kRecordHead + r.bytes.size());
    encodeFixed(&out[at], static_cast<uint64_t>(r.offset), 8);
    encodeFixed(&out[at + 8], r.bytes.size(), 4);
    std::memcpy(&out[at + kRecordHead], r.bytes.data(), r.bytes.size());
  }
  std::memcpy(out.data(), kMagic, sizeof kMagic);
  encodeFixed(&out[8], static_cast<uint64_t>(journal.imageLength), 8);
  encodeFixed(&out[16], journal.records.size(), 4);
  encodeFixed(&out[20], out.size() - JOURNAL_HEADER_SIZE, 4);
  encodeFixed(
      &out[24],
      checksum(out.data(), out.data() + JOURNAL_HEADER_SIZE, out.size() - JOURNAL_HEADER_SIZE), 8);
  return out;
}

std::optional<uint32_t> journalBodySize(const uint8_t* header) {
  if (std::memcmp(header, kMagic, sizeof kMagic) != 0) return std::nullopt;
  return static_cast<uint32_t>(decodeFixed(header + 20, 4));
}

std::optional<Journal> decodeJournal(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < JOURNAL_HEADER_SIZE) return std::nullopt;
  std::optional<uint32_t> bodySize = journalBodySize(bytes.data());
  if (!bodySize || bytes.size() < JOURNAL_HEADER_SIZE + *bodySize) return std::nullopt;
  const uint8_t* body = bytes.data() + JOURNAL_HEADER_SIZE;
  if (checksum(bytes.data(), body, *bodySize) != decodeFixed(bytes.data() + 24, 8))
    return std::nullopt;
  Journal journal;
  journal.imageLength = static_cast<int64_t>(decodeFixed(bytes.data() + 8, 8));
  uint64_t count = decodeFixed(bytes.data() + 16, 4);
  std::size_t at = 0;
  for (uint64_t i = 0; i < count; ++i) {
    if (*bodySize - at < kRecordHead) return std::nullopt;
    JournalRecord r;
    r.offset = static_cast<int64_t>(decodeFixed(body + at, 8));
    uint64_t length = decodeFixed(body + at + 8, 4);
    at += kRecordHead;
    if (*bodySize - at < length || r.offset < 0) return std::nullopt;
    r.bytes.assign(body + at, body + at + length);
    at += length;
    journal.records.push_back(std::move(r));
  }
  if (at != *bodySize || journal.imageLength < 0) return std::nullopt;
  return journal;
}

void rollBackInMemory(const Journal& journal, std::vector<uint8_t>& image) {
  for (const JournalRecord& r : journal.records) {
    std::size_t end = static_cast<std::size_t>(r.offset) + r.bytes.size();
    if (image.size() < end) image.resize(end, 0);
    std::memcpy(image.data() + r.offset, r.bytes.data(), r.bytes.size());
  }
  image.resize(static_cast<std::size_t>(journal.imageLength), 0);
}

std::optional<Journal> readJournalFile(const std::string& imagePath) {
  std::ifstream f(journalPathFor(imagePath), std::ios::binary);
  if (!f) return std::nullopt;
  return decodeJournal(std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {}));
}

}  // namespace fs5
