#include <gtest/gtest.h>

#include "core/Clock.h"
#include "link/MeterLink.h"
#include "sim/VirtualHidBackend.h"

namespace solardesk {
namespace {

using sim::VirtualHidBackend;
using sim::VirtualMeter;

class MeterLinkTest : public ::testing::Test {
 protected:
  MeterLinkTest() : meter(std::make_shared<VirtualMeter>(clock)), link(bus, byteSlots) {
    link.onStatusText = [this](const QString& s) { status = s; };
  }

  sim::VirtualPort& AddMeter() { return bus.AddPort(meter); }
  void Query(unsigned code) {
    byteSlots.setCommand(cmd::kQuery, code);
    link.TransactReport();
  }

  ManualClock clock;
  VirtualHidBackend bus;
  std::shared_ptr<VirtualMeter> meter;
  OutputSlots byteSlots;
  MeterLink link;
  QString status;
};

// Another vendor's device and a meter that cannot be opened are never taken and nothing is
// written while no meter is found; of two meters that can be opened, the first wins. The vendor
// id text is read at every attempt.
TEST_F(MeterLinkTest, TheFirstMatchingDeviceThatOpensWins) {
  auto foreign = std::make_shared<VirtualMeter>(clock);
  auto& foreignPort = bus.AddPort(foreign);
  foreignPort.vendorId = 0x8000;
  auto locked = std::make_shared<VirtualMeter>(clock);
  bus.AddPort(locked).accessDenied = true;
  EXPECT_FALSE(link.LocateMeter());
  EXPECT_TRUE(link.AccessDenied());
  EXPECT_EQ(status, " No Connection");
  Query(cmd::kQueryDisplay);
  EXPECT_FALSE(link.MeterConnected());
  EXPECT_TRUE(link.InputReport().empty());

  AddMeter();
  auto second = std::make_shared<VirtualMeter>(clock);
  auto& other = bus.AddPort(second);
  EXPECT_TRUE(link.LocateMeter());
  EXPECT_TRUE(link.AccessDenied());  // the refused one is still reported
  EXPECT_EQ(status, "SOLAR POWER METER");
  Query(cmd::kQueryDisplay);
  EXPECT_EQ(meter->received.size(), 1u);
  for (const auto& m : {locked, foreign, second}) EXPECT_TRUE(m->received.empty());
  EXPECT_EQ(other.opens, 0);
  link.vendorIdText = "8000";
  EXPECT_TRUE(link.LocateMeter());
  EXPECT_EQ(foreignPort.openHandles, 1);
  link.vendorIdText = "18000";  // five significant digits match nothing
  EXPECT_FALSE(link.LocateMeter());
}

// A 65-byte output report carries zeros beyond the slots; the lengths are the device's.
TEST_F(MeterLinkTest, ReportLengthsComeFromTheDeviceAndTrafficIsReportedBothWays) {
  auto& port = AddMeter();
  for (int i = 0; i < OutputSlots::kCount; ++i) byteSlots.set(i, QString::number(i + 0x10, 16));
  std::vector<char> directions;
  link.onTraffic = [&](char d, const std::vector<std::uint8_t>&) { directions.push_back(d); };
  std::vector<std::uint8_t> sent(65, 0);
  for (std::uint8_t i = 0; i < OutputSlots::kCount; ++i) sent[i] = 0x10 + i;
  sent[0] = 0;  // report ID
  sent[1] = 2;
  sent[2] = 1;
  for (int length : {65, 9}) {
    port.outputReportLength = port.inputReportLength = length;
    link.CloseHandles();
    meter->received.clear();
    Query(cmd::kQueryDisplay);
    ASSERT_EQ(meter->received.size(), 1u);
    EXPECT_EQ(meter->received[0], std::vector<std::uint8_t>(sent.begin(), sent.begin() + length));
    EXPECT_EQ(link.InputReportLength(), length);
    EXPECT_EQ(link.InputReport().size(), static_cast<std::size_t>(length));
    EXPECT_EQ(link.InputByte(0), 0);  // report ID
  }
  EXPECT_EQ(directions, (std::vector<char>{'>', '<', '>', '<'}));
  for (int outside : {9, -1, 100000}) EXPECT_EQ(link.InputByte(outside), 0) << outside;
}

// An unplugged meter is dropped at once, a silent one after two seconds; either way the last
// answer stays, and a meter plugged in again is found by the next exchange.
TEST_F(MeterLinkTest, LostMetersLeaveTheLastAnswerAndReconnectLazily) {
  auto& port = AddMeter();
  Query(cmd::kQuerySettings);
  const auto good = link.InputReport();
  ASSERT_FALSE(good.empty());
  port.present = false;
  Query(cmd::kQueryClock);
  EXPECT_FALSE(link.MeterConnected());
  EXPECT_EQ(link.InputReport(), good);
  EXPECT_EQ(port.openHandles, 0);

  port.present = true;
  meter->received.clear();
  Query(cmd::kQueryCycling);  // finds the meter, writes and reads in the same call
  EXPECT_TRUE(link.MeterConnected());
  ASSERT_EQ(meter->received.size(), 1u);
  EXPECT_EQ(link.InputByte(1), meter->cycling[0]);

  const auto cycling = link.InputReport();
  port.silent = true;
  int waited = 0;
  bus.waitForTimeout = [&](int ms) { waited = ms; };
  Query(cmd::kQueryClock);
  EXPECT_EQ(waited, 2000);
  EXPECT_FALSE(link.MeterConnected());
  EXPECT_EQ(link.InputReport(), cycling);
}

TEST_F(MeterLinkTest, SendOrReceiveWhileDisconnectedOnlyConnects) {
  auto& port = AddMeter();
  byteSlots.setCommand(cmd::kAction, cmd::kKeyHold);
  link.SendOutputReport();
  EXPECT_TRUE(link.MeterConnected());
  EXPECT_TRUE(meter->received.empty());  // the command is lost and must be sent again
  link.SendOutputReport();
  ASSERT_EQ(meter->received.size(), 1u);
  EXPECT_EQ(meter->received[0][2], cmd::kKeyHold);
  port.present = false;  // a failed write does not drop the connection
  link.SendOutputReport();
  EXPECT_TRUE(link.MeterConnected());
  link.CloseHandles();
  port.present = true;
  link.ReceiveInputReport();
  EXPECT_TRUE(link.MeterConnected());
  EXPECT_TRUE(link.InputReport().empty());
}

}  // namespace
}  // namespace solardesk
