#include "tests/support/TestDiskStream.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace fs5::test {

namespace {

constexpr int64_t kPage = 4096;

void apply(std::vector<uint8_t>& file, const HostCall& call, int64_t from = 0,
           int64_t to = INT64_MAX) {
  from = std::max(from, call.offset);
  to = std::min<int64_t>(to, call.offset + static_cast<int64_t>(call.bytes.size()));
  if (call.kind == HostCall::kTruncate) file.resize(call.offset, 0);
  if (call.kind != HostCall::kWrite) return;
  if (static_cast<int64_t>(file.size()) < to) file.resize(to, 0);
  std::memcpy(file.data() + from, call.bytes.data() + (from - call.offset), to - from);
}

// One file after the loss: kept up to its last sync; then each page keeps its writes until,
// at random, it stops keeping any (`all`: every write kept).
void loseUnsynced(std::vector<uint8_t>& file, const std::vector<const HostCall*>& calls,
                  std::mt19937& random, bool all) {
  auto lastSync = std::find_if(calls.rbegin(), calls.rend(),
                               [](const HostCall* c) { return c->kind == HostCall::kSync; });
  std::size_t synced = calls.rend() - lastSync;
  for (std::size_t i = 0; i < synced; ++i) apply(file, *calls[i]);
  std::map<int64_t, bool> stopped;
  for (std::size_t i = synced; i < calls.size(); ++i) {
    const HostCall& c = *calls[i];
    if (c.kind == HostCall::kTruncate && (all || random() % 2 == 0)) apply(file, c);
    int64_t end = c.offset + static_cast<int64_t>(c.bytes.size());
    for (int64_t p = c.offset / kPage; c.kind == HostCall::kWrite && p * kPage < end; ++p) {
      if (stopped[p] || (stopped[p] = !all && random() % 3 == 0)) continue;
      apply(file, c, p * kPage, (p + 1) * kPage);
    }
  }
}

}  // namespace

bool TestDiskStream::pass() { return ++calls < failAt || failAt < 0; }

long TestDiskStream::hostRead(HostFile file, int64_t offset, uint8_t* buf, std::size_t n) {
  return pass() ? FileDiskStream::hostRead(file, offset, buf, n) : -1;
}

bool TestDiskStream::change(HostCall call) {
  if (!pass()) return false;
  if (record != nullptr) record->push_back(std::move(call));
  return true;
}

bool TestDiskStream::hostWrite(HostFile file, int64_t offset, const uint8_t* buf, std::size_t n) {
  return change({HostCall::kWrite, file == HostFile::kJournal, offset, {buf, buf + n}}) &&
         FileDiskStream::hostWrite(file, offset, buf, n);
}

bool TestDiskStream::hostTruncate(HostFile file, int64_t length) {
  return change({HostCall::kTruncate, file == HostFile::kJournal, length, {}}) &&
         FileDiskStream::hostTruncate(file, length);
}

// A test's files need not outlive the machine: the sync is recorded, not made.
bool TestDiskStream::hostSync(HostFile file) {
  return change({HostCall::kSync, file == HostFile::kJournal, 0, {}});
}

int64_t TestDiskStream::hostSize(HostFile file) {
  return pass() ? FileDiskStream::hostSize(file) : -1;
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
