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
using testing::ProgramTest;
using testing::ReadBytes;

// Numbers in files, fields and scenarios are written with a point whatever the desktop's
// language; a German desktop must neither turn "0.3" into 0 nor write "0,3".
TEST(CommaDecimalLocale, ReadersAndWritersKeepThePoint) {
  const CommaDecimalLocale german;
  REQUIRE_COMMA_DECIMAL(german);
  EXPECT_DOUBLE_EQ(LeadingNumber(QByteArrayView(" 0.3\t")), 0.3);  // a data file's value
  EXPECT_DOUBLE_EQ(LeadingNumber(QByteArrayView("+1.5e1")), 15.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(QByteArray(" 12.75")), 12.75);  // a logger set's value
  EXPECT_DOUBLE_EQ(LeadingNumber(QStringLiteral("2.5")), 2.5);   // a limit field
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

// Recorded on a German desktop, then plotted: the file holds points and the plot its values.
class CommaDecimalProgramTest : public ProgramTest {};

TEST_F(CommaDecimalProgramTest, ARecordingPlotsItsValues) {
  const CommaDecimalLocale german;
  REQUIRE_COMMA_DECIMAL(german);
  dialogs.saveAnswers.push_back(Path(QStringLiteral("de.pvd")));
  transfer().SaveCommand();
  ASSERT_TRUE(transfer().FileRecording);
  transfer().SampleInterval = 1;
  for (const char* reading : {"0.300", "0.700", "1.000"}) {
    meter->SetFixedReading(QString::fromLatin1(reading));
    Poll();
    Tick();
    clock.advanceMs(1000);
  }
  transfer().SaveCommand();
  ASSERT_FALSE(transfer().FileRecording);
  const QByteArray bytes = ReadBytes(Path(QStringLiteral("de.pvd")));
  EXPECT_TRUE(bytes.contains("\t 0.300\t")) << bytes.toStdString();
  EXPECT_FALSE(bytes.contains(',')) << bytes.toStdString();

  std::vector<float> plotted;
  program.plotSeries = [&](const std::vector<float>& s, int, const QString&) { plotted = s; };
  dialogs.openAnswers.push_back(Path(QStringLiteral("de.pvd")));
  panel().clickToolbar(QStringLiteral("Open"));
  ASSERT_NE(recording().fileList(), nullptr);
  recording().fileList()->clickToolbar(QStringLiteral("Plot"));
  EXPECT_EQ(plotted, (std::vector<float>{0.3f, 0.7f, 1.0f}));
}

}  // namespace
}  // namespace solardesk
