#include <gtest/gtest.h>

#include "recording/logic/SecondTicker.h"
#include "support/AppOnVirtualMeter.h"

namespace solardesk {
namespace {

// The main window on the virtual bus; the test drives Timer1's ticks by hand.
class PollingTest : public ::testing::Test {
 protected:
  PollingTest() { meter->SetFixedReading("98.76"); }

  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) rig.panel().Timer1Tick();
  }
  const PubMeter& Published() { return rig.instrument().meter; }
  MeterFace& Face() { return *rig.panel().face; }

  testing::AppOnVirtualMeter rig;
  std::shared_ptr<sim::VirtualMeter>& meter = rig.meter;
  sim::VirtualPort& port = rig.port;
};

TEST_F(PollingTest, NothingTalksBeforeTheFirstTickThenTheLiveMeterIsMirrored) {
  EXPECT_EQ(rig.bus.enumerations, 0);
  EXPECT_TRUE(meter->received.empty());
  EXPECT_TRUE(rig.instrument().Timer1.isActive());
  EXPECT_EQ(rig.instrument().Timer1.interval(), 100);
  EXPECT_TRUE(rig.instrument().Timer2.isActive());
  // The clock stands on a whole second: the recording tick is aimed just after the next one.
  EXPECT_EQ(rig.instrument().Timer2.timerType(), Qt::PreciseTimer);
  EXPECT_EQ(rig.instrument().Timer2.interval(), 1000 + SecondTicker::kMarginMs);
  rig.panel().lstResults->addItem("left over");
  Tick();
  EXPECT_EQ(rig.panel().lstResults->count(), 0);
  ASSERT_EQ(meter->received.size(), 1u);
  EXPECT_EQ(std::vector<std::uint8_t>(meter->received[0].begin(), meter->received[0].begin() + 3),
            (std::vector<std::uint8_t>{0, 2, 1}));
  EXPECT_EQ(Published().ReadingText, "98.76");
  EXPECT_EQ(Published().ReadingUnit, "W/(M)2");
  EXPECT_EQ(Face().nameCaption(), "SOLAR POWER METER");
  EXPECT_TRUE(Face().isLive());
  EXPECT_TRUE(Face().annunciatorVisible(Ann::LblP5Dot));
  EXPECT_FALSE(Face().annunciatorVisible(Ann::LblH));
  EXPECT_TRUE(Face().segmentVisible(1, 2));   // "9": b on
  EXPECT_FALSE(Face().segmentVisible(1, 5));  // "9": e off
  // UNIT and HOLD pressed on the meter reach the mirror.
  meter->Handle({0, 1, 0x02});  // HOLD pressed on the meter
  meter->Handle({0, 1, 0x06});  // UNIT
  Tick();
  EXPECT_EQ(Published().ReadingUnit, "Btu/(ft)2.h");
  EXPECT_FALSE(Face().annunciatorVisible(Ann::LblH));  // UNIT releases HOLD on this meter
  meter->Handle({0, 1, 0x02});
  Tick();
  EXPECT_TRUE(Face().annunciatorVisible(Ann::LblH));
  EXPECT_EQ(Published().ReadingText, "31.31");  // 98.76 W/m2 in Btu/(ft2.h)
}

TEST_F(PollingTest, AbsentMeterSearchesTwicePerTickAndDrawsNothingUntilAttached) {
  port.present = false;
  Tick(3);
  EXPECT_EQ(rig.bus.enumerations, 6);
  EXPECT_EQ(Face().nameCaption(), " No Connection");
  EXPECT_FALSE(Face().isLive());
  EXPECT_TRUE(Face().segmentVisible(1, 1));  // the design look: every segment shown
  EXPECT_TRUE(Published().ReadingText.isEmpty());
  EXPECT_TRUE(Published().ReadingUnit.isEmpty());
  port.present = true;  // attached later: live within one tick
  Tick();
  EXPECT_EQ(Face().nameCaption(), "SOLAR POWER METER");
  EXPECT_TRUE(Face().isLive());
  EXPECT_EQ(Published().ReadingText, "98.76");
}

TEST_F(PollingTest, UnpluggedMeterFreezesTheDisplayOnTheLastReading) {
  Tick();
  port.present = false;
  meter->SetFixedReading("11.11");
  Tick(3);
  EXPECT_FALSE(rig.instrument().link.MeterConnected());
  EXPECT_EQ(Face().nameCaption(), " No Connection");
  EXPECT_EQ(Published().ReadingText, "98.76");
  EXPECT_EQ(Published().ReadingUnit, "W/(M)2");
  EXPECT_TRUE(Face().annunciatorVisible(Ann::LblP5Dot));
  port.present = true;
  Tick();
  EXPECT_EQ(Published().ReadingText, "11.11");
  rig.instrument().link.CloseHandles();
  port.inputReportLength = 9;  // a short answer keeps the published reading too
  Tick();
  EXPECT_EQ(Published().ReadingText, "11.11");
}

TEST_F(PollingTest, ShortAnswersDrawNothingAndLeakNoHandles) {
  port.inputReportLength = 9;
  Tick(500);
  EXPECT_FALSE(Face().isLive());
  EXPECT_TRUE(Published().ReadingText.isEmpty());
  EXPECT_EQ(port.openHandles, 1);
  EXPECT_EQ(port.opens, 501);  // the first connection, then one search per faulting tick
  EXPECT_EQ(Face().nameCaption(), "SOLAR POWER METER");
}

TEST_F(PollingTest, WriteThenReadButtonExchangesWhatTheSlotsHold) {
  Tick();
  auto& panel = rig.panel();
  panel.CboByte[1]->setEditText("2");
  panel.CboByte[2]->setEditText("2");
  panel.CmdWnR->click();
  EXPECT_EQ(meter->received.back()[2], 0x02);
  EXPECT_EQ(rig.instrument().link.InputByte(1), meter->interval);
  Tick();  // the next tick overwrites it with the display image
  EXPECT_EQ(meter->received.back()[2], 0x01);
}

}  // namespace
}  // namespace solardesk
