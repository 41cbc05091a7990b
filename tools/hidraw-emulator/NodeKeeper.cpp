#include "NodeKeeper.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace solardesk::hidraw {
namespace {

// The keeper itself: only system calls from here on, as in any child of a process with threads.
[[noreturn]] void Keep(const char* abortFile, pid_t process, int ready) {
  ::prctl(PR_SET_PDEATHSIG, SIGUSR1);  // sent when the thread that forked this one ends
  sigset_t notice;
  sigemptyset(&notice);
  sigaddset(&notice, SIGUSR1);
  ::sigprocmask(SIG_BLOCK, &notice, nullptr);
  const int threadGone = ::signalfd(-1, &notice, 0);
  const int processGone = static_cast<int>(::syscall(SYS_pidfd_open, process, 0));
  // Nothing of the process is held here, so that its files close as if the keeper were not.
  const int top = std::max({threadGone, processGone, ready});
  for (int fd = 0; fd < top; ++fd)
    if (fd != threadGone && fd != processGone && fd != ready) ::close(fd);
  ::close_range(static_cast<unsigned>(top) + 1, ~0U, 0);
  const char started = threadGone >= 0 && processGone >= 0 ? 'k' : 'e';
  if (::write(ready, &started, 1) != 1 || started != 'k') ::_exit(1);
  ::close(ready);

  pollfd fds[2] = {{threadGone, POLLIN, 0}, {processGone, POLLIN, 0}};
  while (::poll(fds, 2, -1) < 0 && errno == EINTR) {
  }
  if (fds[0].revents & POLLIN) {  // the process is being ended, not the node taken down
    const int fd = ::open(abortFile, O_WRONLY);
    if (fd >= 0 && ::write(fd, "1", 1) != 1) ::_exit(1);
  }
  ::_exit(0);
}

}  // namespace

long FuseConnectionAt(const std::string& path, const std::string& mountTable) {
  std::ifstream mounts(mountTable);
  long connection = -1;
  for (std::string line; std::getline(mounts, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, root, mountPoint;
    fields >> id >> parent >> device >> root >> mountPoint;
    const auto colon = device.find(':');
    if (mountPoint == path && colon != std::string::npos)
      connection = std::strtol(device.c_str() + colon + 1, nullptr, 10);
  }
  return connection;
}

std::string NodeKeeper::Start(long connection) {
  const std::string abortFile = "/sys/fs/fuse/connections/" + std::to_string(connection) + "/abort";
  if (connection < 0 || ::access(abortFile.c_str(), W_OK) != 0)
    return abortFile + " cannot be written: " + std::strerror(errno);
  int ready[2];
  if (::pipe2(ready, O_CLOEXEC) != 0) return std::string("pipe: ") + std::strerror(errno);
  const pid_t process = ::getpid();
  pid_ = ::fork();
  if (pid_ == 0) Keep(abortFile.c_str(), process, ready[1]);
  ::close(ready[1]);
  char started = 0;
  while (pid_ > 0 && ::read(ready[0], &started, 1) < 0 && errno == EINTR) {
  }
  ::close(ready[0]);
  if (started == 'k') return {};
  Stop();
  return "cannot start the keeper of the FUSE connection";
}

void NodeKeeper::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

}  // namespace solardesk::hidraw
