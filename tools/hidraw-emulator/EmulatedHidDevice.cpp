#include "EmulatedHidDevice.h"

#include <algorithm>

#include "link/ReportDescriptor.h"
#include "sim/VirtualMeter.h"

namespace solardesk::hidraw {
namespace {

// The first report ID item of a descriptor; 0 when its reports are unnumbered.
std::uint8_t FirstReportId(const Bytes& d) {
  for (std::size_t i = 0; i < d.size();) {
    const std::uint8_t prefix = d[i];
    if (prefix == 0xFE) {  // long item: size byte, tag byte, data
      if (i + 1 >= d.size()) break;
      i += 3 + d[i + 1];
      continue;
    }
    const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if ((prefix & 0xFC) == 0x84 && size >= 1 && i + 1 < d.size()) return d[i + 1];
    i += 1 + size;
  }
  return 0;
}

void AppendCount(Bytes& d, int count) {
  if (count < 256) {
    d.insert(d.end(), {0x95, static_cast<std::uint8_t>(count)});
  } else {
    d.insert(d.end(), {0x96, static_cast<std::uint8_t>(count & 0xFF),
                       static_cast<std::uint8_t>((count >> 8) & 0xFF)});
  }
}

}  // namespace

Bytes MeterReportDescriptor(int inputBytes, int outputBytes) {
  Bytes d = {0x06, 0x00, 0xFF,  // usage page (vendor defined)
             0x09, 0x01,        // usage
             0xA1, 0x01,        // collection (application)
             0x15, 0x00,        // logical minimum 0
             0x26, 0xFF, 0x00,  // logical maximum 255
             0x75, 0x08};       // report size 8 bits
  AppendCount(d, inputBytes);
  d.insert(d.end(), {0x09, 0x01, 0x81, 0x02});  // input (data, variable, absolute)
  AppendCount(d, outputBytes);
  d.insert(d.end(), {0x09, 0x01, 0x91, 0x02});  // output
  d.push_back(0xC0);                            // end collection
  return d;
}

HidrawNode::Device MeterBehindNode(std::shared_ptr<sim::VirtualMeter> meter,
                                   const Bytes& reportDescriptor) {
  const std::uint8_t reportId = FirstReportId(reportDescriptor);
  const auto lengths = ParseReportDescriptor(reportDescriptor).value_or(kFallbackReportLengths);
  const std::size_t dataBytes = static_cast<std::size_t>(std::max(lengths.input - 1, 1));
  return [meter = std::move(meter), reportId, dataBytes](const Bytes& output) {
    std::vector<Bytes> reports;
    for (Bytes& answer : meter->Handle(output)) {
      answer.resize(dataBytes, 0);
      if (reportId != 0) answer.insert(answer.begin(), reportId);
      reports.push_back(std::move(answer));
    }
    return reports;
  };
}

EmulatedHidDevice::EmulatedHidDevice(const EmulatedDeviceSpec& spec, HidrawNode::Device device)
    : sysfs_{spec.hidrawIndex,     spec.vendorId,
             spec.productId,       "SolarDesk emulated",
             "Solar Power Meter",  "EMU" + std::to_string(spec.hidrawIndex + 1),
             spec.reportDescriptor},
      node_(HidrawIdentity{spec.reportDescriptor, spec.vendorId, spec.productId,
                           sysfs_.manufacturer + " " + sysfs_.product,
                           "usb-0000:00:14.0-" + std::to_string(spec.hidrawIndex + 1) + "/input0",
                           sysfs_.serial, spec.owner, spec.group, spec.mode},
            std::move(device)) {}

EmulatedHidDevice::~EmulatedHidDevice() {
  RemoveFromSysfs(sysfs_);
}

std::string EmulatedHidDevice::Plug() {
  if (!mounted_) {
    const std::string error = node_.Mount(path());
    if (!error.empty()) return error;
    mounted_ = true;
  }
  node_.Plug();
  return AddToSysfs(sysfs_);
}

void EmulatedHidDevice::Unplug() {
  RemoveFromSysfs(sysfs_);
  node_.Unplug();
}

}  // namespace solardesk::hidraw
