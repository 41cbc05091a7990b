#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "NodeKeeper.h"

struct fuse_session;
struct fuse_pollhandle;
struct fuse_req;

namespace solardesk::hidraw {

using Bytes = std::vector<std::uint8_t>;

// What a hidraw node says about its device through ioctls.
struct HidrawIdentity {
  std::vector<std::uint8_t> reportDescriptor;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::string name;  // HIDIOCGRAWNAME
  std::string phys;  // HIDIOCGRAWPHYS
  std::string uniq;  // HIDIOCGRAWUNIQ
  uid_t owner = 0;
  gid_t group = 0;
  mode_t mode = 0600;  // as the kernel makes hidraw nodes when no udev rule says otherwise
};

// A file that behaves as a hidraw character device, served by libfuse3 and mounted over a
// regular file (for example /dev/hidraw0). A write() is one output report, report ID byte
// first; each output report goes to `device`, and the input reports it answers with are queued
// on every open handle, as the kernel queues them per reader. A read() takes one input report,
// blocking until one is queued; poll() reports it; the hidraw ioctls answer from `identity`.
// Unplug() makes every operation fail with ENODEV and poll() report an error, as a node whose
// device has gone does. One difference remains: being a regular file, a read() blocked in one
// thread keeps a write() on the same descriptor in another thread waiting (the kernel locks the
// file position of regular files); a second descriptor, or poll() before read() as hidapi does,
// behaves as on a real node.
class HidrawNode {
 public:
  using Device = std::function<std::vector<Bytes>(const Bytes& outputReport)>;

  HidrawNode(HidrawIdentity identity, Device device);
  ~HidrawNode();
  HidrawNode(const HidrawNode&) = delete;
  HidrawNode& operator=(const HidrawNode&) = delete;

  // Mounts the node over `path` (created as an empty file when missing) and serves it on a
  // thread of its own. Empty on success, else what failed.
  std::string Mount(const std::string& path);

  void Unplug();
  void Plug();
  // A silent device takes output reports but never answers.
  void SetSilent(bool silent);
  // Runs `change` while no output report is being handled, so that it may change the device.
  void ChangeDevice(const std::function<void()>& change);

  int OpenHandles() const;
  // Waits (at most `timeoutMs`) until no handle is open; the kernel releases closed handles
  // shortly after close() returns. True when none is open.
  bool WaitUntilAllClosed(int timeoutMs) const;
  // Waits (at most `timeoutMs`) until a reader waits in poll() or read() with nothing queued,
  // counting only readers that came after the last such wait.
  bool WaitForWaitingReader(int timeoutMs);

  // Low-level FUSE operations; public only so that the C callbacks can reach them.
  struct Handle {
    std::vector<Bytes> queue;
    std::vector<std::pair<fuse_req*, std::size_t>> waitingReads;  // with the size asked for
    fuse_pollhandle* poll = nullptr;
    bool dead = false;  // opened before an unplug: stays failed, as the kernel's handle would
  };
  void Open(fuse_req* req, int flags);
  void Release(fuse_req* req, std::uint64_t fh);
  void Read(fuse_req* req, std::uint64_t fh, std::size_t size, int flags);
  void Write(fuse_req* req, std::uint64_t fh, const char* data, std::size_t size);
  void Poll(fuse_req* req, std::uint64_t fh, fuse_pollhandle* ph);
  void Ioctl(fuse_req* req, unsigned cmd, std::size_t outSize);
  void GetAttr(fuse_req* req);
  void Interrupted(fuse_req* req);

 private:
  void Serve();
  void WakeReaders(Handle& h);  // with mutex_ held

  HidrawIdentity identity_;
  Device device_;
  fuse_session* session_ = nullptr;
  std::thread loop_;
  NodeKeeper keeper_;  // started from the serving thread, so that it watches that thread
  int stopFd_ = -1;    // an eventfd that ends the serving thread

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::map<std::uint64_t, Handle> handles_;
  std::uint64_t nextHandle_ = 1;
  bool present_ = true;
  bool silent_ = false;
  std::uint64_t waitingReaders_ = 0;
  std::uint64_t readersSeen_ = 0;
};

}  // namespace solardesk::hidraw
