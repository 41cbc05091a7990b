#include "HidApiBackend.h"

#include <hidapi.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "ReportDescriptor.h"

#if defined(__linux__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace solardesk {
namespace {

// The report descriptor of an interface. On Linux the hidraw node's descriptor is in sysfs;
// elsewhere nothing is read and the fallback lengths apply.
std::vector<std::uint8_t> ReadReportDescriptor(const std::string& path) {
#if defined(__linux__)
  const auto slash = path.find_last_of('/');
  const std::string node = slash == std::string::npos ? path : path.substr(slash + 1);
  std::ifstream in("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
#else
  (void)path;
  return {};
#endif
}

OpenError ProbeOpenError(const std::string& path) {
#if defined(__linux__)
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return OpenError::Other;
  }
  return (errno == EACCES || errno == EPERM) ? OpenError::PermissionDenied : OpenError::Other;
#else
  (void)path;
  return OpenError::Other;
#endif
}

class HidApiDevice final : public HidDevice {
 public:
  HidApiDevice(hid_device* handle, ReportLengths lengths) : handle_(handle), lengths_(lengths) {}
  ~HidApiDevice() override { hid_close(handle_); }

  int inputReportLength() const override { return lengths_.input; }
  int outputReportLength() const override { return lengths_.output; }

  bool write(const std::vector<std::uint8_t>& report) override {
    if (report.empty()) return false;
    return hid_write(handle_, report.data(), report.size()) >= 0;
  }

  ReadOutcome read(std::vector<std::uint8_t>& report, int timeoutMs) override {
    report.assign(static_cast<std::size_t>(std::max(lengths_.input, 1)), 0);
    // hidapi delivers an unnumbered report without its report ID byte: put the 0 in front.
    const std::size_t offset = lengths_.numbered ? 0 : 1;
    const int n =
        hid_read_timeout(handle_, report.data() + offset, report.size() - offset, timeoutMs);
    if (n > 0) return ReadOutcome::Completed;
    return n == 0 ? ReadOutcome::TimedOut : ReadOutcome::Failed;
  }

 private:
  hid_device* handle_;
  ReportLengths lengths_;
};

}  // namespace

HidApiBackend::HidApiBackend() {
  hid_init();
}
HidApiBackend::~HidApiBackend() {
  hid_exit();
}

std::vector<HidDeviceInfo> HidApiBackend::enumerate() {
  std::vector<HidDeviceInfo> found;
  hid_device_info* list = hid_enumerate(0, 0);
  for (hid_device_info* d = list; d != nullptr; d = d->next) {
    std::string serial;
    for (const wchar_t* c = d->serial_number; c && *c; ++c) {
      if (*c < 0x80) serial += static_cast<char>(*c);  // serial numbers are ASCII
    }
    found.push_back({d->path ? d->path : "", d->vendor_id, d->product_id, serial});
  }
  hid_free_enumeration(list);
  return found;
}

std::unique_ptr<HidDevice> HidApiBackend::open(const std::string& path, OpenError* error) {
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) {
    if (error) *error = ProbeOpenError(path);
    return nullptr;
  }
  if (error) *error = OpenError::None;
  const auto parsed = ParseReportDescriptor(ReadReportDescriptor(path));
  return std::make_unique<HidApiDevice>(handle, parsed.value_or(kFallbackReportLengths));
}

}  // namespace solardesk
