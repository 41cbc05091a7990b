#include <gtest/gtest.h>

#include <algorithm>

#include "RecordingFixture.h"
#include "graphs/logic/NumberText.h"
#include "graphs/logic/SweepLimits.h"
#include "logger/logic/LoggerSet.h"
#include "panel/logic/DisplayDecode.h"
#include "recording/logic/IntervalEntry.h"
#include "recording/logic/PlotSeries.h"
#include "recording/logic/SingleText.h"
#include "setup/logic/Calibration.h"
#include "sim/Scenario.h"
#include "support/CommaDecimalLocale.h"

namespace solardesk {
namespace {

using testing::CommaDecimalLocale;

// Numbers in files, fields and scenarios are written with a point whatever the desktop's
// language; a German desktop must neither turn "0.3" into 0 nor write "0,3". (A recording
// writes the meter's text as it is, the counter through SingleText; a plot reads LeadingNumber.)
TEST(CommaDecimalLocale, ReadersAndWritersKeepThePoint) {
  const CommaDecimalLocale german;
  REQUIRE_COMMA_DECIMAL(german);
  EXPECT_DOUBLE_EQ(LeadingNumber(QByteArrayView(" 0.3\t")), 0.3);  // a data file's value
  EXPECT_DOUBLE_EQ(LeadingNumber(QByteArrayView("+1.5e1")), 15.0);
  EXPECT_DOUBLE_EQ(LeadingUnsignedNumber(" 12.75"), 12.75);     // a logger set's interval
  EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("2.5")), 2.5);  // a limit field
  EXPECT_EQ(IntervalFromEntry(QStringLiteral("2.6"), kMaxPcInterval), 3);
  EXPECT_EQ(IntervalFromEntry(QStringLiteral("2,6"), kMaxPcInterval), std::nullopt);
  EXPECT_EQ(ParseCalibrationEntry(QStringLiteral("12.6")).value, 13);
  EXPECT_EQ(SingleText(0.25f), QStringLiteral("0.25"));
  EXPECT_EQ(PlainNumberText(2.5), QStringLiteral("2.5"));

  SweepGraph graph;
  EXPECT_EQ(
      ApplyLimits({QStringLiteral("12.5"), QStringLiteral("0.5"), QStringLiteral("100")}, graph),
      LimitsVerdict::Accepted);
  EXPECT_DOUBLE_EQ(graph.UpperLimit, 12.5);
  EXPECT_DOUBLE_EQ(graph.LowerLimit, 0.5);

  ManualClock clock;
  const sim::ScenarioResult s =
      sim::LoadScenario(R"({"reading": "0.750", "calibration": 1234})", clock);
  ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
  EXPECT_EQ(s.meter->calibration, 1234);
  const auto image = s.meter->DisplayImage();
  std::vector<std::uint8_t> report(image.size() + 1, 0);  // report ID, then the image
  std::copy(image.begin(), image.end(), report.begin() + 1);
  EXPECT_EQ(MakeReadingText(DecodeDisplayImage(report).value()), QStringLiteral("0.750"));
}

}  // namespace
}  // namespace solardesk
