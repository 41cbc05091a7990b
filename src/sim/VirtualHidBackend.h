#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "VirtualMeter.h"
#include "link/HidDevice.h"

namespace solardesk::sim {

// One HID interface of the virtual bus: a meter behind it, its IDs and report lengths, and the
// faults it shows.
struct VirtualPort {
  std::string path;
  std::uint16_t vendorId = 0x0483;
  std::uint16_t productId = 0x5750;
  int inputReportLength = 65;  // report ID byte included
  int outputReportLength = 65;
  bool present = true;        // false: unplugged, not enumerated, open handles fail
  bool silent = false;        // enumerated and opened, but never answers (reads time out)
  bool accessDenied = false;  // enumerated, but cannot be opened (no permission)
  std::shared_ptr<VirtualMeter> meter;
  PendingAnswers pending;  // answers not yet read
  // When set, every answer passes through it on its way out (to garble it, cut it, ...).
  std::function<void(std::vector<std::uint8_t>& answer)> alterAnswer;
  int openHandles = 0;  // handles open now, to catch leaks
  int opens = 0;        // handles ever opened
};

// A HID bus holding virtual meters (and other devices), for tests and the demo. A read that
// gets no answer reports a time-out at once unless `waitForTimeout` is set, so tests never
// wait the real 2000 ms.
class VirtualHidBackend final : public HidBackend {
 public:
  VirtualHidBackend() = default;

  // Adds an interface; returns it for further set-up. The path is made up when empty.
  VirtualPort& AddPort(std::shared_ptr<VirtualMeter> meter, std::string path = {});
  std::vector<std::unique_ptr<VirtualPort>>& ports() { return ports_; }
  VirtualPort& port(std::size_t i) { return *ports_.at(i); }

  std::vector<HidDeviceInfo> enumerate() override;
  std::unique_ptr<HidDevice> open(const std::string& path, OpenError* error) override;

  int enumerations = 0;
  std::uint64_t writes = 0;  // output reports written, to any device
  std::uint64_t reads = 0;   // input reports asked for, answered or not
  // Called with the time-out of a read that gets no answer; the demo sleeps there.
  std::function<void(int timeoutMs)> waitForTimeout;
  // Called before every enumeration, open, write and read: a scenario's timeline changes the
  // meter and its port there.
  std::function<void()> beforeEachOperation;

 private:
  std::vector<std::unique_ptr<VirtualPort>> ports_;
};

}  // namespace solardesk::sim
