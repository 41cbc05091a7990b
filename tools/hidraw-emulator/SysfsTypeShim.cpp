// libudev accepts a device directory only when it lies on sysfs, and asks the kernel which file
// system a directory is on. The emulated /sys is a tmpfs, so this library, loaded before libc,
// answers "sysfs" for directories under /sys that are on a tmpfs; every other answer is the
// kernel's. Nothing else is changed: libudev then reads the emulated tree as it reads the real
// one.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

using FstatfsFn = int (*)(int, struct statfs64*);
using StatfsFn = int (*)(const char*, struct statfs64*);

bool UnderSys(const char* path) {
  return std::strncmp(path, "/sys/", 5) == 0 || std::strcmp(path, "/sys") == 0;
}

void CountAsSysfs(bool underSys, struct statfs64* buf) {
  if (underSys && buf->f_type == TMPFS_MAGIC) buf->f_type = SYSFS_MAGIC;
}

}  // namespace

extern "C" int fstatfs64(int fd, struct statfs64* buf) {
  static const auto real = reinterpret_cast<FstatfsFn>(dlsym(RTLD_NEXT, "fstatfs64"));
  const int result = real(fd, buf);
  if (result != 0) return result;
  char link[64];
  char path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path - 1);
  if (n > 0) {
    path[n] = '\0';
    CountAsSysfs(UnderSys(path), buf);
  }
  return 0;
}

extern "C" int statfs64(const char* file, struct statfs64* buf) {
  static const auto real = reinterpret_cast<StatfsFn>(dlsym(RTLD_NEXT, "statfs64"));
  const int result = real(file, buf);
  if (result == 0) CountAsSysfs(UnderSys(file), buf);
  return result;
}
