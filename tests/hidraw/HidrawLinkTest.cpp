#include <unistd.h>

#include <QProcess>
#include <chrono>
#include <map>
#include <thread>

#include "EmulatedMeterTest.h"
#include "app/SolarDeskApp.h"
#include "link/HidApiBackend.h"
#include "link/MeterLink.h"
#include "panel/ui/MeterFace.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {
namespace {

using hidraw::Bytes;

class HidrawLinkTest : public EmulatedMeterTest {
 protected:
  HidrawLinkTest() {
    link.onStatusText = [this](const QString& s) { status = s; };
  }
  ~HidrawLinkTest() override { link.CloseHandles(); }

  void Query(unsigned code) {
    byteSlots.setCommand(cmd::kQuery, code);
    link.TransactReport();
  }

  HidApiBackend backend;
  OutputSlots byteSlots;
  MeterLink link{backend, byteSlots};
  QString status;
};

TEST_F(HidrawLinkTest, ReportLengthsAndTheReportIdByteFollowTheSysfsDescriptor) {
  const Bytes numbered = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                          0x75, 0x08, 0x85, 0x05,                     // report 5
                          0x95, 0x20, 0x09, 0x01, 0x81, 0x02,         // 32 input bytes
                          0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0};  // 8 output bytes
  // Each descriptor, the input and output report lengths it gives and byte 0 of every input
  // report.
  const std::tuple<const char*, Bytes, int, int, std::uint8_t> cases[] = {
      {"unnumbered 64-byte reports", hidraw::MeterReportDescriptor(64, 64), 65, 65, 0},
      {"numbered reports", numbered, 33, 9, 5},
      {"a descriptor that cannot be parsed", {0xA1, 0x01, 0x95}, 65, 65, 0},
  };
  for (const auto& [what, descriptor, inputLength, outputLength, reportIdByte] : cases) {
    SCOPED_TRACE(what);
    auto meter = NewMeter();
    meter->SetFixedReading("98.76");
    hidraw::EmulatedDeviceSpec spec;
    spec.reportDescriptor = descriptor;
    Plug(meter, spec);

    ASSERT_EQ(backend.enumerate().size(), 1u);  // hidapi through libudev; found by its ids below

    Query(cmd::kQueryDisplay);
    EXPECT_EQ(status, "SOLAR POWER METER");
    EXPECT_EQ(link.InputReportLength(), inputLength);
    EXPECT_EQ(link.OutputReportLength(), outputLength);
    ASSERT_EQ(meter->received.size(), 1u);
    EXPECT_EQ(meter->received[0].size(), static_cast<std::size_t>(outputLength));
    EXPECT_EQ(Bytes(meter->received[0].begin(), meter->received[0].begin() + 3),
              (Bytes{0x00, 0x02, 0x01}));
    ASSERT_EQ(link.InputReport().size(), static_cast<std::size_t>(inputLength));
    EXPECT_EQ(link.InputByte(0), reportIdByte);
    const auto image = meter->DisplayImage();
    EXPECT_EQ(Bytes(link.InputReport().begin() + 1, link.InputReport().begin() + 31),
              Bytes(image.begin(), image.end()));

    link.CloseHandles();
    devices.clear();
  }
}

TEST_F(HidrawLinkTest, TheFirstOfTwoMatchingDevicesWins) {
  std::map<std::string, std::shared_ptr<sim::VirtualMeter>> meters;
  for (int i = 0; i < 2; ++i) {
    hidraw::EmulatedDeviceSpec spec;
    spec.hidrawIndex = i;
    auto meter = NewMeter();
    meters[Plug(meter, spec).path()] = meter;
  }
  const auto found = backend.enumerate();
  ASSERT_EQ(found.size(), 2u);
  Query(cmd::kQueryDisplay);
  EXPECT_EQ(link.DevicePath(), found[0].path);
  EXPECT_EQ(meters.at(found[0].path)->received.size(), 1u);
  EXPECT_TRUE(meters.at(found[1].path)->received.empty());
}

TEST_F(HidrawLinkTest, UnplugDuringAReadDropsTheMeterAndPluggingInAgainFindsIt) {
  auto meter = NewMeter();
  auto& device = Plug(meter);
  Query(cmd::kQuerySettings);
  const Bytes good = link.InputReport();
  ASSERT_EQ(good.size(), 65u);

  // The meter takes the clock query but is pulled out while the program waits for the answer.
  device.node().SetSilent(true);
  std::chrono::steady_clock::time_point unpluggedAt;
  std::thread unplug([&] {
    if (!device.node().WaitForWaitingReader(10000)) return;
    unpluggedAt = std::chrono::steady_clock::now();
    device.Unplug();
  });
  Query(cmd::kQueryClock);
  const auto droppedAt = std::chrono::steady_clock::now();
  unplug.join();
  EXPECT_FALSE(link.MeterConnected());
  // The read ends as the node goes, well before its two-second time-out would.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(droppedAt - unpluggedAt).count(),
            500);
  EXPECT_EQ(link.InputReport(), good);
  EXPECT_TRUE(device.node().WaitUntilAllClosed(5000))
      << device.node().OpenHandles() << " handles left open";
  Query(cmd::kQueryDisplay);
  EXPECT_EQ(status, " No Connection");

  device.node().SetSilent(false);
  ASSERT_EQ(device.Plug(), "");
  meter->received.clear();
  Query(cmd::kQueryCycling);  // found, written and read in the same exchange
  EXPECT_TRUE(link.MeterConnected());
  EXPECT_EQ(status, "SOLAR POWER METER");
  ASSERT_EQ(meter->received.size(), 1u);
  EXPECT_EQ(link.InputByte(1), meter->cycling[0]);
}

TEST_F(HidrawLinkTest, ASilentMeterIsGivenUpAfterTwoSeconds) {
  Plug(NewMeter()).node().SetSilent(true);
  ASSERT_TRUE(link.LocateMeter());
  byteSlots.setCommand(cmd::kQuery, cmd::kQueryDisplay);
  link.WriteOutputReport();
  const auto start = std::chrono::steady_clock::now();
  link.ReadInputReport();
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  EXPECT_FALSE(link.MeterConnected());
  // It waits out the read time-out and then gives up; the upper bound only tells giving up from
  // hanging, with room for a busy machine.
  EXPECT_GE(waited.count(), 2000);
  EXPECT_LT(waited.count(), 5000);
}

// The process acts as another user for as long as this lives (every thread: glibc passes the
// change on), so the kernel checks the node's owner and mode against that user.
class EffectiveUser {
 public:
  EffectiveUser(uid_t uid, gid_t gid) { ok_ = ::setegid(gid) == 0 && ::seteuid(uid) == 0; }
  ~EffectiveUser() {
    if (::seteuid(0) != 0 || ::setegid(0) != 0) std::abort();
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

TEST_F(HidrawLinkTest, ANodeTheUserMayNotOpenIsNotTakenAndTheUdevRuleIsNamed) {
  auto meter = NewMeter();
  Plug(meter);  // root's, mode 0600: what the kernel makes when no udev rule applies
  const QString rule = QStringLiteral("packaging/70-solardesk-meter.rules");

  // The command line, run by another user.
  QProcess cli;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LD_PRELOAD", SOLARDESK_SYSFS_SHIM);
  env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  cli.setProcessEnvironment(env);
  cli.start("setpriv",
            {"--reuid=65534", "--regid=65534", "--clear-groups", "--", SOLARDESK_CLI, "read"});
  ASSERT_TRUE(cli.waitForFinished(30000));
  const QString err = QString::fromLocal8Bit(cli.readAllStandardError());
  EXPECT_NE(cli.exitCode(), 0);
  EXPECT_TRUE(err.contains("permission denied") && err.contains(rule)) << err.toStdString();

  // The main window, as that user: the meter's name says why in its tool tip.
  {
    EffectiveUser user(65534, 65534);  // nobody, nogroup
    ASSERT_TRUE(user.ok());
    ScriptedDialogs dialogs;
    SolarDeskApp app(backend, clock, dialogs);
    app.panel().Timer1Tick();
    EXPECT_EQ(app.panel().face->nameCaption(), " No Connection");
    EXPECT_TRUE(app.panel().face->nameToolTip().contains(rule))
        << app.panel().face->nameToolTip().toStdString();
    EXPECT_FALSE(app.instrument().link.MeterConnected());
  }
  EXPECT_TRUE(meter->received.empty());
  EXPECT_TRUE(link.LocateMeter()) << "root may open the same node";
}

}  // namespace
}  // namespace solardesk::testing
