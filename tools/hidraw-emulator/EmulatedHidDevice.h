#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "HidrawNode.h"
#include "SysfsTree.h"

namespace solardesk::sim {
class VirtualMeter;
}

namespace solardesk::hidraw {

// A vendor-defined report descriptor with one unnumbered input and one unnumbered output report
// of the given data lengths, as meters of this kind describe themselves.
Bytes MeterReportDescriptor(int inputBytes, int outputBytes);

// The virtual meter behind a hidraw node: each output report goes to the meter, and each of its
// answers becomes one input report as the kernel delivers it: the report ID first when the
// descriptor numbers its reports, the data cut or zero-padded to the input report's length.
HidrawNode::Device MeterBehindNode(std::shared_ptr<sim::VirtualMeter> meter,
                                   const Bytes& reportDescriptor);

struct EmulatedDeviceSpec {
  int hidrawIndex = 0;  // /dev/hidraw<index>
  std::uint16_t vendorId = 0x0483;
  std::uint16_t productId = 0x5750;
  Bytes reportDescriptor = MeterReportDescriptor(64, 64);
  uid_t owner = 0;
  gid_t group = 0;
  mode_t mode = 0600;
};

// One USB HID device as the system sees it: its hidraw node under /dev, served by a HidrawNode,
// and its entries in /sys. Meant for a process inside EnterPrivateDeviceTree().
class EmulatedHidDevice {
 public:
  EmulatedHidDevice(const EmulatedDeviceSpec& spec, HidrawNode::Device device);
  ~EmulatedHidDevice();

  // Plugs the device in: the node answers and the sysfs entries appear. Empty on success.
  std::string Plug();
  // The node fails with ENODEV from now on, on every handle opened before, and the sysfs
  // entries go.
  void Unplug();

  HidrawNode& node() { return node_; }
  std::string path() const { return "/dev/" + HidrawName(sysfs_.hidrawIndex); }

 private:
  SysfsHidDevice sysfs_;
  HidrawNode node_;
  bool mounted_ = false;
};

}  // namespace solardesk::hidraw
