#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Clock.h"
#include "core/NoDialogs.h"
#include "link/HidDevice.h"

namespace solardesk::fuzz {

// The handlers start and stop Qt timers, which need an application object.
inline void EnsureApplication() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

// A meter that answers every read with the same bytes, in reports of the given length.
class ReplayBackend final : public HidBackend {
 public:
  ReplayBackend(std::vector<std::uint8_t> answer, int inputLength)
      : answer_(std::move(answer)), inputLength_(inputLength) {}

  std::vector<HidDeviceInfo> enumerate() override { return {{"replay", 0x0483, 0x5750, {}}}; }
  std::unique_ptr<HidDevice> open(const std::string&, OpenError* error) override {
    if (error) *error = OpenError::None;
    return std::make_unique<Device>(answer_, inputLength_);
  }

 private:
  class Device final : public HidDevice {
   public:
    Device(const std::vector<std::uint8_t>& answer, int inputLength)
        : answer_(answer), inputLength_(inputLength) {}
    int inputReportLength() const override { return inputLength_; }
    int outputReportLength() const override { return 65; }
    bool write(const std::vector<std::uint8_t>&) override { return true; }
    ReadOutcome read(std::vector<std::uint8_t>& report, int) override {
      report.assign(static_cast<std::size_t>(inputLength_), 0);
      for (std::size_t i = 0; i < report.size() && i < answer_.size(); ++i) report[i] = answer_[i];
      return ReadOutcome::Completed;
    }

   private:
    const std::vector<std::uint8_t>& answer_;
    int inputLength_;
  };

  std::vector<std::uint8_t> answer_;
  int inputLength_;
};

}  // namespace solardesk::fuzz
