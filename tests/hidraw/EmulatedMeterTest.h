#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "EmulatedHidDevice.h"
#include "core/Clock.h"
#include "sim/VirtualMeter.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {

// Why this machine cannot host the emulated device (no /dev/fuse, no right to make a mount
// namespace); empty when it can. Set by main() before the first thread starts.
std::string& EmulationUnavailable();

// With this first argument the test program serves a silent emulated meter and reads from it
// until it is ended: through the meter link ("link") or with a plain blocking read() ("read"),
// as its second argument says. It writes "waiting" once its first read waits.
inline constexpr char kReadUntilKilled[] = "--read-until-killed";
int ReadUntilKilled(const std::string& how);

// Tests of the real back end (hidapi, libudev, the hidraw node) on virtual meters plugged in
// as emulated USB HID devices. Where the emulation cannot run they skip and say why; with the
// variable CI set that is a failure instead, so that CI never passes without them.
class EmulatedMeterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string& why = EmulationUnavailable();
    if (why.empty()) return;
    SKIP_UNLESS_CI("no emulated hidraw device on this machine: " << why);
  }

  std::shared_ptr<sim::VirtualMeter> NewMeter() {
    return std::make_shared<sim::VirtualMeter>(clock);
  }

  // Plugs `meter` in as /dev/hidraw<spec.hidrawIndex>.
  hidraw::EmulatedHidDevice& Plug(std::shared_ptr<sim::VirtualMeter> meter,
                                  const hidraw::EmulatedDeviceSpec& spec = {}) {
    devices.push_back(std::make_unique<hidraw::EmulatedHidDevice>(
        spec, hidraw::MeterBehindNode(std::move(meter), spec.reportDescriptor)));
    EXPECT_EQ(devices.back()->Plug(), "");
    return *devices.back();
  }

  ManualClock clock{QDateTime(QDate(2026, 12, 4), QTime(23, 59, 58))};
  std::vector<std::unique_ptr<hidraw::EmulatedHidDevice>> devices;
};

}  // namespace solardesk::testing
