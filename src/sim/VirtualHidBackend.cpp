#include "VirtualHidBackend.h"

#include <algorithm>

namespace solardesk::sim {
namespace {

class VirtualDevice final : public HidDevice {
 public:
  VirtualDevice(VirtualPort& port, VirtualHidBackend& bus)
      : port_(port),
        bus_(bus),
        inputLength_(port.inputReportLength),
        outputLength_(port.outputReportLength) {
    ++port_.openHandles;
    ++port_.opens;
  }
  ~VirtualDevice() override { --port_.openHandles; }

  int inputReportLength() const override { return inputLength_; }
  int outputReportLength() const override { return outputLength_; }

  bool write(const std::vector<std::uint8_t>& report) override {
    if (bus_.beforeEachOperation) bus_.beforeEachOperation();
    ++bus_.writes;
    if (!port_.present || !port_.meter) return false;
    port_.pending.Append(port_.meter->Handle(report));
    return true;
  }

  ReadOutcome read(std::vector<std::uint8_t>& report, int timeoutMs) override {
    if (bus_.beforeEachOperation) bus_.beforeEachOperation();
    ++bus_.reads;
    if (!port_.present) return ReadOutcome::Failed;
    if (port_.silent || port_.pending.empty()) {
      if (bus_.waitForTimeout) bus_.waitForTimeout(timeoutMs);
      return ReadOutcome::TimedOut;
    }
    std::vector<std::uint8_t> answer = port_.pending.Take();
    if (port_.alterAnswer) port_.alterAnswer(answer);
    report.assign(static_cast<std::size_t>(std::max(inputLength_, 1)), 0);
    // The report ID byte, then as much of the answer as the report holds.
    const std::size_t room = report.size() - 1;
    std::copy_n(answer.begin(), std::min(room, answer.size()), report.begin() + 1);
    return ReadOutcome::Completed;
  }

 private:
  VirtualPort& port_;
  VirtualHidBackend& bus_;
  int inputLength_;
  int outputLength_;
};

}  // namespace

VirtualPort& VirtualHidBackend::AddPort(std::shared_ptr<VirtualMeter> meter, std::string path) {
  auto port = std::make_unique<VirtualPort>();
  port->path = path.empty() ? "virtual:" + std::to_string(ports_.size()) : std::move(path);
  port->meter = std::move(meter);
  ports_.push_back(std::move(port));
  return *ports_.back();
}

std::vector<HidDeviceInfo> VirtualHidBackend::enumerate() {
  if (beforeEachOperation) beforeEachOperation();
  ++enumerations;
  std::vector<HidDeviceInfo> found;
  for (const auto& p : ports_) {
    if (p->present) found.push_back({p->path, p->vendorId, p->productId, {}});
  }
  return found;
}

std::unique_ptr<HidDevice> VirtualHidBackend::open(const std::string& path, OpenError* error) {
  if (beforeEachOperation) beforeEachOperation();
  for (const auto& p : ports_) {
    if (p->path != path || !p->present) continue;
    if (p->accessDenied) {
      if (error) *error = OpenError::PermissionDenied;
      return nullptr;
    }
    if (error) *error = OpenError::None;
    p->pending.clear();  // a fresh handle sees no answers meant for an earlier one
    return std::make_unique<VirtualDevice>(*p, *this);
  }
  if (error) *error = OpenError::Other;
  return nullptr;
}

}  // namespace solardesk::sim
