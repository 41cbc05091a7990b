#include "PrivateMounts.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace solardesk::hidraw {
namespace {

std::string Failed(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

}  // namespace

std::string EnterPrivateDeviceTree() {
  if (::access("/dev/fuse", R_OK | W_OK) != 0) return Failed("/dev/fuse cannot be used");

  // The host's nodes, looked at before /dev is covered.
  std::vector<std::pair<std::string, struct stat>> nodes;
  for (const char* name : {"null", "zero", "full", "random", "urandom", "tty", "fuse"}) {
    struct stat st {};
    if (::stat(("/dev/" + std::string(name)).c_str(), &st) == 0 && S_ISCHR(st.st_mode))
      nodes.emplace_back(name, st);
  }

  if (::unshare(CLONE_NEWNS) != 0) return Failed("cannot make a mount namespace");
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return Failed("cannot make the mounts private");
  if (::mount("sysfs-emulated", "/sys", "tmpfs", MS_NOSUID | MS_NODEV, "mode=755") != 0)
    return Failed("cannot mount a tmpfs on /sys");
  for (const char* dir : {"/sys/devices", "/sys/class", "/sys/bus", "/sys/fs", "/sys/fs/fuse",
                          "/sys/fs/fuse/connections"})
    ::mkdir(dir, 0755);
  // Where a FUSE connection can be aborted (see NodeKeeper).
  if (::mount("fusectl", "/sys/fs/fuse/connections", "fusectl", 0, nullptr) != 0)
    return Failed("cannot mount the FUSE control file system");
  if (::mount("dev-emulated", "/dev", "tmpfs", MS_NOSUID, "mode=755") != 0)
    return Failed("cannot mount a tmpfs on /dev");
  for (const auto& [name, st] : nodes) {
    const std::string path = "/dev/" + name;
    if (::mknod(path.c_str(), st.st_mode, st.st_rdev) != 0) return Failed("mknod " + path);
    ::chmod(path.c_str(), st.st_mode & 07777);
  }
  ::mkdir("/dev/shm", 01777);
  ::chmod("/dev/shm", 01777);
  ::mkdir("/dev/pts", 0755);
  const std::pair<const char*, const char*> links[] = {{"/proc/self/fd", "/dev/fd"},
                                                       {"/proc/self/fd/0", "/dev/stdin"},
                                                       {"/proc/self/fd/1", "/dev/stdout"},
                                                       {"/proc/self/fd/2", "/dev/stderr"}};
  for (const auto& [target, link] : links) ::symlink(target, link);
  return {};
}

}  // namespace solardesk::hidraw
