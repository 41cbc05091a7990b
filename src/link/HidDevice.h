#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace solardesk {

// The few HID operations the meter link needs. Two back ends implement them: hidapi for real
// meters and the virtual meter for tests and demos.

struct HidDeviceInfo {
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::string serialNumber;  // empty when the device reports none
};

enum class ReadOutcome { Completed, TimedOut, Failed };

enum class OpenError { None, PermissionDenied, Other };

// One open device. Reports are indexed from 0, index 0 being the report ID byte (0 for a device
// without numbered reports); lengths count that byte.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  virtual int inputReportLength() const = 0;
  virtual int outputReportLength() const = 0;
  // Writes one whole output report. False when the device did not take it.
  virtual bool write(const std::vector<std::uint8_t>& report) = 0;
  // Reads one input report of inputReportLength() bytes, waiting at most timeoutMs.
  virtual ReadOutcome read(std::vector<std::uint8_t>& report, int timeoutMs) = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // The HID interfaces present now, in enumeration order.
  virtual std::vector<HidDeviceInfo> enumerate() = 0;
  // Opens one interface; nullptr (with the reason in `error`) when it cannot be opened.
  virtual std::unique_ptr<HidDevice> open(const std::string& path, OpenError* error) = 0;
};

}  // namespace solardesk
