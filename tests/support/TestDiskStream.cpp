#include "tests/support/TestDiskStream.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace fs5::test {

namespace {

constexpr int64_t kPage = 4096;

void writeInto(std::vector<uint8_t>& file, int64_t offset, const uint8_t* bytes, int64_t n) {
  if (static_cast<int64_t>(file.size()) < offset + n) file.resize(offset + n, 0);
  std::memcpy(file.data() + offset, bytes, n);
}

void apply(std::vector<uint8_t>& file, const HostCall& call) {
  if (call.kind == HostCall::kWrite)
    writeInto(file, call.offset, call.bytes.data(), static_cast<int64_t>(call.bytes.size()));
  if (call.kind == HostCall::kTruncate) file.resize(call.offset, 0);
}

// One file after the loss: kept up to its last sync, then page by page.
void loseUnsynced(std::vector<uint8_t>& file, const std::vector<const HostCall*>& calls,
                  std::mt19937& random, bool all) {
  auto lastSync = std::find_if(calls.rbegin(), calls.rend(),
                               [](const HostCall* c) { return c->kind == HostCall::kSync; });
  std::size_t synced = calls.rend() - lastSync;
  for (std::size_t i = 0; i < synced; ++i) apply(file, *calls[i]);
  std::map<int64_t, int> touches, kept, seen;
  for (std::size_t i = synced; i < calls.size(); ++i)
    for (int64_t p = calls[i]->offset / kPage;
         calls[i]->kind == HostCall::kWrite &&
         p * kPage < calls[i]->offset + static_cast<int64_t>(calls[i]->bytes.size());
         ++p)
      ++touches[p];
  for (auto [page, n] : touches)
    kept[page] = all ? n : std::uniform_int_distribution<int>(0, n)(random);
  for (std::size_t i = synced; i < calls.size(); ++i) {
    const HostCall& c = *calls[i];
    if (c.kind == HostCall::kTruncate && (all || random() % 2 == 0)) apply(file, c);
    if (c.kind != HostCall::kWrite) continue;
    int64_t end = c.offset + static_cast<int64_t>(c.bytes.size());
    for (int64_t p = c.offset / kPage; p * kPage < end; ++p) {
      if (seen[p]++ >= kept[p]) continue;
      int64_t from = std::max(c.offset, p * kPage), to = std::min(end, (p + 1) * kPage);
      writeInto(file, from, c.bytes.data() + (from - c.offset), to - from);
    }
  }
}

}  // namespace

bool TestDiskStream::pass(bool changes) {
  if (changesOnly && !changes) return true;
  return ++calls < failAt || failAt < 0;
}

long TestDiskStream::hostRead(HostFile file, int64_t offset, uint8_t* buf, std::size_t n) {
  return pass(false) ? FileDiskStream::hostRead(file, offset, buf, n) : -1;
}

bool TestDiskStream::hostWrite(HostFile file, int64_t offset, const uint8_t* buf, std::size_t n) {
  if (!pass(true)) return false;
  if (record != nullptr)
    record->push_back({HostCall::kWrite, file == HostFile::kJournal, offset, {buf, buf + n}});
  return FileDiskStream::hostWrite(file, offset, buf, n);
}

bool TestDiskStream::hostTruncate(HostFile file, int64_t length) {
  if (!pass(true)) return false;
  if (record != nullptr)
    record->push_back({HostCall::kTruncate, file == HostFile::kJournal, length, {}});
  return FileDiskStream::hostTruncate(file, length);
}

bool TestDiskStream::hostSync(HostFile file) {
  if (!pass(true)) return false;
  // A test's files need not outlive the machine: the sync is recorded, not made.
  if (record != nullptr) record->push_back({HostCall::kSync, file == HostFile::kJournal, 0, {}});
  return true;
}

int64_t TestDiskStream::hostSize(HostFile file) {
  return pass(false) ? FileDiskStream::hostSize(file) : -1;
}

int TestDiskStream::hostLock(int operation) {
  return lockError != 0 ? lockError : FileDiskStream::hostLock(operation);
}

DiskFiles afterPowerLoss(DiskFiles files, const std::vector<HostCall>& calls, std::size_t count,
                         std::mt19937& random, bool all) {
  std::vector<const HostCall*> image, journal;
  for (std::size_t i = 0; i < count && i < calls.size(); ++i)
    (calls[i].journal ? journal : image).push_back(&calls[i]);
  loseUnsynced(files.image, image, random, all);
  loseUnsynced(files.journal, journal, random, all);
  return files;
}

}  // namespace fs5::test
