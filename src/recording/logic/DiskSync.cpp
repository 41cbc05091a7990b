#include "DiskSync.h"

#include <fcntl.h>
#include <unistd.h>

namespace solardesk {

void DiskSync::Start(int fd, bool wholeFile) {
  const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return;
  ++started_;
  ++pending_;
  // Each sync first waits for the one before it, so that they queue instead of piling up.
  last_ = std::thread([before = std::move(last_), own, wholeFile, this]() mutable {
    if (before.joinable()) before.join();
    if (wholeFile) {
      ::fsync(own);
    } else {
      ::fdatasync(own);
    }
    ::close(own);
    --pending_;
  });
}

void DiskSync::Wait() {
  if (last_.joinable()) last_.join();
}

}  // namespace solardesk
