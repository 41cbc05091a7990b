#include "HidrawNode.h"

#define FUSE_USE_VERSION 35
#include <fcntl.h>
#include <fuse_lowlevel.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>

namespace solardesk::hidraw {
namespace {

HidrawNode& NodeOf(fuse_req_t req) {
  return *static_cast<HidrawNode*>(fuse_req_userdata(req));
}

void OnGetAttr(fuse_req_t req, fuse_ino_t, fuse_file_info*) {
  NodeOf(req).GetAttr(req);
}
void OnOpen(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
  NodeOf(req).Open(req, fi->flags);
}
void OnRelease(fuse_req_t req, fuse_ino_t, fuse_file_info* fi) {
  NodeOf(req).Release(req, fi->fh);
}
void OnRead(fuse_req_t req, fuse_ino_t, size_t size, off_t, fuse_file_info* fi) {
  NodeOf(req).Read(req, fi->fh, size, fi->flags);
}
void OnWrite(fuse_req_t req, fuse_ino_t, const char* buf, size_t size, off_t, fuse_file_info* fi) {
  NodeOf(req).Write(req, fi->fh, buf, size);
}
void OnPoll(fuse_req_t req, fuse_ino_t, fuse_file_info* fi, fuse_pollhandle* ph) {
  NodeOf(req).Poll(req, fi->fh, ph);
}
void OnIoctl(fuse_req_t req, fuse_ino_t, unsigned int cmd, void*, fuse_file_info*, unsigned,
             const void*, size_t, size_t outSize) {
  NodeOf(req).Ioctl(req, cmd, outSize);
}

const fuse_lowlevel_ops kOps = [] {
  fuse_lowlevel_ops ops{};
  ops.getattr = OnGetAttr;
  ops.open = OnOpen;
  ops.release = OnRelease;
  ops.read = OnRead;
  ops.write = OnWrite;
  ops.poll = OnPoll;
  ops.ioctl = OnIoctl;
  return ops;
}();

void OnInterrupt(fuse_req_t req, void* node) {
  static_cast<HidrawNode*>(node)->Interrupted(req);
}

}  // namespace

HidrawNode::HidrawNode(HidrawIdentity identity, Device device)
    : identity_(std::move(identity)), device_(std::move(device)) {}

HidrawNode::~HidrawNode() {
  if (!session_) return;
  keeper_.Stop();  // the node is taken down on purpose, its connection not aborted
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(stopFd_, &one, sizeof one);
  loop_.join();
  {
    std::lock_guard lock(mutex_);
    for (auto& [fh, h] : handles_) {
      for (const auto& waiting : h.waitingReads) fuse_reply_err(waiting.first, ENODEV);
      h.waitingReads.clear();
      if (h.poll) fuse_pollhandle_destroy(h.poll);
      h.poll = nullptr;
    }
  }
  fuse_session_unmount(session_);
  fuse_session_destroy(session_);
  ::close(stopFd_);
}

std::string HidrawNode::Mount(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) return path + ": " + std::strerror(errno);
    ::close(fd);
  }
  // Other users reach the node only through its owner and mode, as on a real hidraw node.
  const char* argv[] = {"solardesk-hidraw", "-o", "allow_other,default_permissions,fsname=hidraw"};
  fuse_args args = FUSE_ARGS_INIT(3, const_cast<char**>(argv));
  session_ = fuse_session_new(&args, &kOps, sizeof kOps, this);
  fuse_opt_free_args(&args);
  if (!session_) return "cannot start a FUSE session";
  if (fuse_session_mount(session_, path.c_str()) != 0) {
    fuse_session_destroy(session_);
    session_ = nullptr;
    return "cannot mount a FUSE file over " + path;
  }
  stopFd_ = ::eventfd(0, EFD_CLOEXEC);
  std::promise<std::string> started;
  auto keeperStarted = started.get_future();
  loop_ = std::thread(
      [this, started = std::move(started), connection = FuseConnectionAt(path)]() mutable {
        started.set_value(keeper_.Start(connection));
        Serve();
      });
  return keeperStarted.get();
}

void HidrawNode::Serve() {
  fuse_buf buf{};
  const int fuseFd = fuse_session_fd(session_);
  for (;;) {
    pollfd fds[2] = {{fuseFd, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents != 0) break;
    const int n = fuse_session_receive_buf(session_, &buf);
    if (n == -EINTR || n == -EAGAIN) continue;
    if (n <= 0) break;  // unmounted or aborted
    fuse_session_process_buf(session_, &buf);
  }
  std::free(buf.mem);
}

void HidrawNode::GetAttr(fuse_req_t req) {
  struct stat st {};
  st.st_ino = FUSE_ROOT_ID;
  st.st_mode = S_IFREG | identity_.mode;
  st.st_nlink = 1;
  st.st_uid = identity_.owner;
  st.st_gid = identity_.group;
  fuse_reply_attr(req, &st, 0.0);
}

void HidrawNode::Open(fuse_req_t req, int) {
  std::unique_lock lock(mutex_);
  if (!present_) {
    lock.unlock();
    fuse_reply_err(req, ENODEV);
    return;
  }
  fuse_file_info fi{};
  fi.fh = nextHandle_++;
  fi.direct_io = 1;  // every read() and write() reaches the node whole, nothing is cached
  fi.nonseekable = 1;
  // A close() waits for no answer: a process that serves its own node and is killed could not
  // give one, and would stay in the kernel for good.
  fi.noflush = 1;
  handles_[fi.fh] = Handle{};
  changed_.notify_all();
  lock.unlock();
  fuse_reply_open(req, &fi);
}

void HidrawNode::Release(fuse_req_t req, std::uint64_t fh) {
  {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(fh);
    if (it != handles_.end()) {
      if (it->second.poll) fuse_pollhandle_destroy(it->second.poll);
      handles_.erase(it);
    }
    changed_.notify_all();
  }
  fuse_reply_err(req, 0);
}

void HidrawNode::Read(fuse_req_t req, std::uint64_t fh, std::size_t size, int flags) {
  std::unique_lock lock(mutex_);
  auto it = handles_.find(fh);
  if (!present_ || it == handles_.end() || it->second.dead) {
    lock.unlock();
    fuse_reply_err(req, ENODEV);
    return;
  }
  Handle& h = it->second;
  if (h.queue.empty()) {
    if (flags & O_NONBLOCK) {
      lock.unlock();
      fuse_reply_err(req, EAGAIN);
      return;
    }
    h.waitingReads.emplace_back(req, size);
    ++waitingReaders_;
    changed_.notify_all();
    lock.unlock();
    fuse_req_interrupt_func(req, OnInterrupt, this);
    return;
  }
  const Bytes report = std::move(h.queue.front());
  h.queue.erase(h.queue.begin());
  lock.unlock();
  fuse_reply_buf(req, reinterpret_cast<const char*>(report.data()), std::min(size, report.size()));
}

void HidrawNode::Interrupted(fuse_req_t req) {
  std::unique_lock lock(mutex_);
  for (auto& [fh, h] : handles_) {
    auto it = std::find_if(h.waitingReads.begin(), h.waitingReads.end(),
                           [req](const auto& waiting) { return waiting.first == req; });
    if (it == h.waitingReads.end()) continue;
    h.waitingReads.erase(it);
    lock.unlock();
    fuse_reply_err(req, EINTR);
    return;
  }
}

void HidrawNode::Write(fuse_req_t req, std::uint64_t fh, const char* data, std::size_t size) {
  std::lock_guard lock(mutex_);
  auto it = handles_.find(fh);
  if (!present_ || it == handles_.end() || it->second.dead) {
    fuse_reply_err(req, ENODEV);
    return;
  }
  const Bytes report(data, data + size);
  std::vector<Bytes> answers = device_ ? device_(report) : std::vector<Bytes>{};
  if (silent_) answers.clear();
  for (auto& [id, h] : handles_) {
    if (h.dead) continue;
    h.queue.insert(h.queue.end(), answers.begin(), answers.end());
    WakeReaders(h);
  }
  fuse_reply_write(req, size);
}

void HidrawNode::WakeReaders(Handle& h) {
  while (!h.waitingReads.empty() && !h.queue.empty()) {
    const auto [r, size] = h.waitingReads.front();
    h.waitingReads.erase(h.waitingReads.begin());
    const Bytes report = std::move(h.queue.front());
    h.queue.erase(h.queue.begin());
    fuse_reply_buf(r, reinterpret_cast<const char*>(report.data()), std::min(size, report.size()));
  }
  if (h.poll && (!h.queue.empty() || h.dead)) {
    fuse_lowlevel_notify_poll(h.poll);
    fuse_pollhandle_destroy(h.poll);
    h.poll = nullptr;
  }
}

void HidrawNode::Poll(fuse_req_t req, std::uint64_t fh, fuse_pollhandle* ph) {
  std::unique_lock lock(mutex_);
  auto it = handles_.find(fh);
  unsigned events = POLLOUT | POLLWRNORM;
  if (!present_ || it == handles_.end() || it->second.dead) {
    events = POLLERR | POLLHUP;
    if (ph) fuse_pollhandle_destroy(ph);
  } else {
    Handle& h = it->second;
    if (!h.queue.empty()) {
      events |= POLLIN | POLLRDNORM;
      if (ph) fuse_pollhandle_destroy(ph);
    } else {
      if (ph) {
        if (h.poll) fuse_pollhandle_destroy(h.poll);
        h.poll = ph;
      }
      ++waitingReaders_;
      changed_.notify_all();
    }
  }
  lock.unlock();
  fuse_reply_poll(req, events);
}

void HidrawNode::Ioctl(fuse_req_t req, unsigned cmd, std::size_t outSize) {
  {
    std::lock_guard lock(mutex_);
    if (!present_) {
      fuse_reply_err(req, ENODEV);
      return;
    }
  }
  const auto& d = identity_.reportDescriptor;
  if (cmd == HIDIOCGRDESCSIZE) {
    const int size = static_cast<int>(d.size());
    fuse_reply_ioctl(req, 0, &size, sizeof size);
  } else if (cmd == HIDIOCGRDESC) {
    hidraw_report_descriptor out{};
    out.size = static_cast<__u32>(std::min<std::size_t>(d.size(), HID_MAX_DESCRIPTOR_SIZE));
    std::copy_n(d.begin(), out.size, out.value);
    fuse_reply_ioctl(req, 0, &out, sizeof out);
  } else if (cmd == HIDIOCGRAWINFO) {
    hidraw_devinfo info{};
    info.bustype = BUS_USB;
    info.vendor = static_cast<__s16>(identity_.vendorId);
    info.product = static_cast<__s16>(identity_.productId);
    fuse_reply_ioctl(req, 0, &info, sizeof info);
  } else if (_IOC_TYPE(cmd) == 'H' && _IOC_DIR(cmd) == _IOC_READ &&
             (_IOC_NR(cmd) == 0x04 || _IOC_NR(cmd) == 0x05 || _IOC_NR(cmd) == 0x08)) {
    // Name, physical path and unique ID: the text with its terminating NUL, cut to the room
    // the caller gave; the result is the length copied.
    const std::string& text = _IOC_NR(cmd) == 0x04   ? identity_.name
                              : _IOC_NR(cmd) == 0x05 ? identity_.phys
                                                     : identity_.uniq;
    const std::size_t n = std::min({text.size() + 1, outSize, std::size_t{_IOC_SIZE(cmd)}});
    fuse_reply_ioctl(req, static_cast<int>(n), text.c_str(), n);
  } else {
    fuse_reply_err(req, ENOTTY);
  }
}

void HidrawNode::Unplug() {
  std::lock_guard lock(mutex_);
  present_ = false;
  for (auto& [fh, h] : handles_) {
    h.dead = true;
    for (const auto& waiting : h.waitingReads) fuse_reply_err(waiting.first, ENODEV);
    h.waitingReads.clear();
    h.queue.clear();
    WakeReaders(h);
  }
}

void HidrawNode::Plug() {
  std::lock_guard lock(mutex_);
  present_ = true;
}

void HidrawNode::SetSilent(bool silent) {
  std::lock_guard lock(mutex_);
  silent_ = silent;
}

void HidrawNode::ChangeDevice(const std::function<void()>& change) {
  std::lock_guard lock(mutex_);
  change();
}

int HidrawNode::OpenHandles() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

bool HidrawNode::WaitUntilAllClosed(int timeoutMs) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return handles_.empty(); });
}

bool HidrawNode::WaitForWaitingReader(int timeoutMs) {
  std::unique_lock lock(mutex_);
  const bool seen = changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [this] { return waitingReaders_ > readersSeen_; });
  readersSeen_ = waitingReaders_;
  return seen;
}

}  // namespace solardesk::hidraw
