#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace solardesk::hidraw {

// What the kernel would publish in sysfs for one USB HID device with one hidraw node.
struct SysfsHidDevice {
  int hidrawIndex = 0;  // hidraw<index>, on USB port 1-<index + 1>
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::string manufacturer;
  std::string product;
  std::string serial;
  std::vector<std::uint8_t> reportDescriptor;
};

// Writes the device's entries under `sysRoot` (normally /sys, a tmpfs in a private mount
// namespace): the USB device with its attributes, its interface, the HID device with the
// uevent and report_descriptor libudev and hidapi read, and the hidraw class entry whose uevent
// names the node. Empty on success, else what failed.
std::string AddToSysfs(const SysfsHidDevice& device, const std::string& sysRoot = "/sys");

// Removes what AddToSysfs wrote, as the kernel does when the device is unplugged.
void RemoveFromSysfs(const SysfsHidDevice& device, const std::string& sysRoot = "/sys");

// The name of the hidraw node, "hidraw<index>".
std::string HidrawName(int index);

}  // namespace solardesk::hidraw
