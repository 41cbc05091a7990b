// solardesk-failing-disk: a folder served again through libfuse3 at another place, passing every
// file operation through, except that the operations asked for answer EIO, as a disk does that
// fails under a program after its writes were taken: the syncs of files (fsync, fdatasync), the
// syncs of folders (their entries: a new file's name), and the flush of every close. The tests
// use it to see that a failed hand-over to the disk counts as a failed write.
//
//   solardesk-failing-disk [--sync-fails] [--folder-sync-fails] [--flush-fails] [--while FILE]
//                          FOLDER MOUNTPOINT
//
// --while FILE: the failures are on only while FILE exists (FILE must lie outside MOUNTPOINT),
// so that a test can turn them on and off as the program under test runs. The file system is
// served by this process in the foreground until it is unmounted (fusermount3 -u MOUNTPOINT) or
// ended by a signal; it also ends when the process that started it ends, so that no mount is
// left behind a test that was killed.
#define FUSE_USE_VERSION 35
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Settings {
  bool syncFails = false;
  bool folderSyncFails = false;
  bool flushFails = false;
  std::string whileFile;  // empty: always
  int folder = -1;        // the backing folder
};

Settings settings;

bool FailingNow() {
  return settings.whileFile.empty() || ::access(settings.whileFile.c_str(), F_OK) == 0;
}

// The backing folder's name of a path of the mount: "." for the root, else the path without its
// leading slash, taken relative to the backing folder.
const char* Inside(const char* path) {
  while (*path == '/') ++path;
  return *path ? path : ".";
}

int Result(int rc) {
  return rc < 0 ? -errno : rc;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* fi) {
  if (fi) return Result(::fstat(static_cast<int>(fi->fh), st));
  return Result(::fstatat(settings.folder, Inside(path), st, AT_SYMLINK_NOFOLLOW));
}

int Access(const char* path, int mask) {
  return Result(::faccessat(settings.folder, Inside(path), mask, 0));
}

int ReadDir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
  const int fd = ::openat(settings.folder, Inside(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -errno;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    const int error = errno;
    ::close(fd);
    return -error;
  }
  while (const dirent* entry = ::readdir(dir)) {
    struct stat st {};
    st.st_ino = entry->d_ino;
    st.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
    if (fill(buf, entry->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0))) break;
  }
  ::closedir(dir);
  return 0;
}

int MakeDir(const char* path, mode_t mode) {
  return Result(::mkdirat(settings.folder, Inside(path), mode));
}
int Unlink(const char* path) {
  return Result(::unlinkat(settings.folder, Inside(path), 0));
}
int RemoveDir(const char* path) {
  return Result(::unlinkat(settings.folder, Inside(path), AT_REMOVEDIR));
}
int Rename(const char* from, const char* to, unsigned int flags) {
  if (flags != 0) return -EINVAL;
  return Result(::renameat(settings.folder, Inside(from), settings.folder, Inside(to)));
}
int Chmod(const char* path, mode_t mode, fuse_file_info* fi) {
  if (fi) return Result(::fchmod(static_cast<int>(fi->fh), mode));
  return Result(::fchmodat(settings.folder, Inside(path), mode, 0));
}
int Chown(const char* path, uid_t uid, gid_t gid, fuse_file_info* fi) {
  if (fi) return Result(::fchown(static_cast<int>(fi->fh), uid, gid));
  return Result(::fchownat(settings.folder, Inside(path), uid, gid, AT_SYMLINK_NOFOLLOW));
}
int Truncate(const char* path, off_t size, fuse_file_info* fi) {
  if (fi) return Result(::ftruncate(static_cast<int>(fi->fh), size));
  const int fd = ::openat(settings.folder, Inside(path), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int rc = Result(::ftruncate(fd, size));
  ::close(fd);
  return rc;
}
int SetTimes(const char* path, const timespec times[2], fuse_file_info* fi) {
  if (fi) return Result(::futimens(static_cast<int>(fi->fh), times));
  return Result(::utimensat(settings.folder, Inside(path), times, AT_SYMLINK_NOFOLLOW));
}

int Create(const char* path, mode_t mode, fuse_file_info* fi) {
  const int fd = ::openat(settings.folder, Inside(path), (fi->flags & ~O_APPEND) | O_CLOEXEC, mode);
  if (fd < 0) return -errno;
  fi->fh = static_cast<std::uint64_t>(fd);
  return 0;
}
// O_APPEND is the kernel's business: it passes the end of the file as the offset of a write.
int Open(const char* path, fuse_file_info* fi) {
  const int fd = ::openat(settings.folder, Inside(path), (fi->flags & ~O_APPEND) | O_CLOEXEC);
  if (fd < 0) return -errno;
  fi->fh = static_cast<std::uint64_t>(fd);
  return 0;
}
int Read(const char*, char* buf, size_t size, off_t offset, fuse_file_info* fi) {
  return Result(static_cast<int>(::pread(static_cast<int>(fi->fh), buf, size, offset)));
}
int Write(const char*, const char* buf, size_t size, off_t offset, fuse_file_info* fi) {
  return Result(static_cast<int>(::pwrite(static_cast<int>(fi->fh), buf, size, offset)));
}
int StatFs(const char* path, struct statvfs* st) {
  const int fd = ::openat(settings.folder, Inside(path), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int rc = Result(::fstatvfs(fd, st));
  ::close(fd);
  return rc;
}
int Flush(const char*, fuse_file_info*) {
  return settings.flushFails && FailingNow() ? -EIO : 0;
}
int Release(const char*, fuse_file_info* fi) {
  ::close(static_cast<int>(fi->fh));
  return 0;
}
int Sync(const char*, int dataOnly, fuse_file_info* fi) {
  if (settings.syncFails && FailingNow()) return -EIO;
  const int fd = static_cast<int>(fi->fh);
  return Result(dataOnly ? ::fdatasync(fd) : ::fsync(fd));
}
int SyncDir(const char* path, int dataOnly, fuse_file_info*) {
  if (settings.folderSyncFails && FailingNow()) return -EIO;
  const int fd = ::openat(settings.folder, Inside(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -errno;
  const int rc = Result(dataOnly ? ::fdatasync(fd) : ::fsync(fd));
  ::close(fd);
  return rc;
}

void* Init(fuse_conn_info*, fuse_config* config) {
  config->use_ino = 1;  // the backing files' own inode numbers: a file made again is another
  // Nothing is kept: a file removed or replaced in the backing folder is seen at once.
  config->entry_timeout = 0;
  config->attr_timeout = 0;
  config->negative_timeout = 0;
  return nullptr;
}

fuse_operations Operations() {
  fuse_operations ops{};
  ops.init = Init;
  ops.getattr = GetAttr;
  ops.access = Access;
  ops.readdir = ReadDir;
  ops.mkdir = MakeDir;
  ops.unlink = Unlink;
  ops.rmdir = RemoveDir;
  ops.rename = Rename;
  ops.chmod = Chmod;
  ops.chown = Chown;
  ops.truncate = Truncate;
  ops.utimens = SetTimes;
  ops.create = Create;
  ops.open = Open;
  ops.read = Read;
  ops.write = Write;
  ops.statfs = StatFs;
  ops.flush = Flush;
  ops.release = Release;
  ops.fsync = Sync;
  ops.fsyncdir = SyncDir;
  return ops;
}

int Usage() {
  std::fprintf(stderr,
               "usage: solardesk-failing-disk [--sync-fails] [--folder-sync-fails] "
               "[--flush-fails] [--while FILE] FOLDER MOUNTPOINT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> places;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--sync-fails") {
      settings.syncFails = true;
    } else if (arg == "--folder-sync-fails") {
      settings.folderSyncFails = true;
    } else if (arg == "--flush-fails") {
      settings.flushFails = true;
    } else if (arg == "--while" && i + 1 < argc) {
      settings.whileFile = argv[++i];
    } else if (arg.rfind("-", 0) == 0) {
      return Usage();
    } else {
      places.push_back(arg);
    }
  }
  if (places.size() != 2) return Usage();
  settings.folder = ::open(places[0].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (settings.folder < 0) {
    std::fprintf(stderr, "solardesk-failing-disk: %s: %s\n", places[0].c_str(),
                 std::strerror(errno));
    return 1;
  }
  // The end of the starting process ends this one too (SIGTERM unmounts on the way out).
  const pid_t parent = ::getppid();
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) return 1;
  ::umask(0);
  // In the foreground, one request at a time: a sync answered is a sync seen.
  std::string program = "solardesk-failing-disk";
  std::string foreground = "-f";
  std::string single = "-s";
  std::string options = "-o";
  std::string names = "fsname=solardesk-failing-disk,subtype=failing-disk";
  std::vector<char*> fuseArgs = {program.data(), foreground.data(), single.data(),
                                 options.data(), names.data(),      places[1].data()};
  const fuse_operations ops = Operations();
  return fuse_main(static_cast<int>(fuseArgs.size()), fuseArgs.data(), &ops, nullptr);
}
