#pragma once

#include <atomic>
#include <thread>

namespace solardesk {

// Hands a file's written data to the disk on a thread of its own: a sync can take seconds on a
// slow or busy disk, and the GUI thread polls the meter every 100 ms. Syncs run one after the
// other, never at once.
class DiskSync {
 public:
  DiskSync() = default;
  ~DiskSync() { Wait(); }
  DiskSync(const DiskSync&) = delete;
  DiskSync& operator=(const DiskSync&) = delete;

  // Syncs the file (data and size) behind `fd`, after any sync still under way. The caller may
  // close `fd` at once: a duplicate is synced.
  void SyncFile(int fd) { Start(fd, false); }
  // Syncs the folder behind `fd` (its entries), after any sync still under way.
  void SyncFolder(int fd) { Start(fd, true); }
  // True while a sync is under way or waiting.
  bool Busy() const { return pending_ > 0; }
  // True when a sync waits for the one under way: it will take everything written until then.
  bool Queued() const { return pending_ > 1; }
  // Waits until every sync has ended.
  void Wait();
  // Syncs started since this object was made.
  int started() const { return started_; }

 private:
  void Start(int fd, bool wholeFile);

  std::thread last_;
  std::atomic<int> pending_{0};
  int started_ = 0;
};

}  // namespace solardesk
