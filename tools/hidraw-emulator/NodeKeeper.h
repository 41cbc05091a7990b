#pragma once

#include <sys/types.h>

#include <string>

namespace solardesk::hidraw {

// The FUSE connection of the file system mounted last over `path` in `mountTable` (a process's
// mountinfo), as the control file system names it: the minor device number of the mount; -1
// when nothing is mounted there. The file system itself is never asked.
long FuseConnectionAt(const std::string& path,
                      const std::string& mountTable = "/proc/self/mountinfo");

// Sees that a process which serves a FUSE node and reads from it too can always end. Killed,
// such a process loses its serving thread at once, while a read the server has already taken
// waits for its answer without end, and the process with it. The keeper, a small process of
// its own, aborts the node's connection when the thread that started it ends, which fails the
// waiting read so that the process can go. It needs the FUSE control file system mounted on
// /sys/fs/fuse/connections.
class NodeKeeper {
 public:
  NodeKeeper() = default;
  ~NodeKeeper() { Stop(); }
  NodeKeeper(const NodeKeeper&) = delete;
  NodeKeeper& operator=(const NodeKeeper&) = delete;

  // Starts the keeper for `connection`, watching the calling thread. Empty on success.
  std::string Start(long connection);
  // Ends the keeper without it acting, as before the node is taken down on purpose.
  void Stop();

 private:
  pid_t pid_ = -1;
};

}  // namespace solardesk::hidraw
