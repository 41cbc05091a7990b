#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "graphs/logic/SweepLimits.h"

namespace solardesk {
namespace {

class SweepLimitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::RecordingCanvas canvas;
    graph.Layout(660, 400, QString(), QLocale::c(), canvas);  // PlotWidth 600
  }
  SweepGraph graph;
};

// The start-up texts are the live graph's test.
TEST_F(SweepLimitsTest, EditingStartsFromTheLimitsAndCountsFromTenTo864000AreAccepted) {
  graph.StepWidth = 0.5f;
  graph.UpperLimit = 2.5;
  const LimitTexts t = LimitsForEditing(graph);
  EXPECT_EQ(QStringList({t.max, t.min, t.counts}), QStringList({"2.5", "0", "1200"}));
  const struct {
    const char* counts;
    LimitsVerdict verdict;
    float step;
  } cases[] = {
      {"9", LimitsVerdict::CountsRefused, 1.0f},
      {"10", LimitsVerdict::Accepted, 60.0f},
      {"1200", LimitsVerdict::Accepted, 0.5f},
      {"864000", LimitsVerdict::Accepted, 600.0f / 864000},
      {"864001", LimitsVerdict::CountsRefused, 1.0f},
      {"", LimitsVerdict::CountsRefused, 1.0f},
  };
  for (const auto& c : cases) {
    graph.StepWidth = 1.0f;
    EXPECT_EQ(ApplyLimits({"10000", "0", QString::fromLatin1(c.counts)}, graph), c.verdict)
        << c.counts;
    EXPECT_FLOAT_EQ(graph.StepWidth, c.step) << c.counts;
  }
  // The limits are stored before the counts are checked.
  EXPECT_EQ(ApplyLimits({"800", "200", "5"}, graph), LimitsVerdict::CountsRefused);
  EXPECT_EQ(graph.UpperLimit, 800);
  EXPECT_EQ(graph.LowerLimit, 200);
}

TEST_F(SweepLimitsTest, ValuesOutsideZeroToTenThousandOrNotAscendingAreRefused) {
  const struct {
    const char* max;
    const char* min;
    LimitsVerdict verdict;
  } cases[] = {
      {"10000", "0", LimitsVerdict::Accepted},     {"500", "500", LimitsVerdict::ValueRefused},
      {"10001", "0", LimitsVerdict::ValueRefused}, {"100", "-1", LimitsVerdict::ValueRefused},
      {"100", "200", LimitsVerdict::ValueRefused}, {"abc", "", LimitsVerdict::ValueRefused},
      {"0.5", "0.25", LimitsVerdict::Accepted},
  };
  for (const auto& c : cases) {
    graph.UpperLimit = 10000;
    graph.LowerLimit = 0;
    EXPECT_EQ(ApplyLimits({QString::fromLatin1(c.max), QString::fromLatin1(c.min), "600"}, graph),
              c.verdict)
        << c.max << " " << c.min;
    if (c.verdict == LimitsVerdict::ValueRefused) {
      EXPECT_EQ(graph.UpperLimit, 10000);
      EXPECT_EQ(graph.LowerLimit, 0);
    }
  }
}

TEST(LimitKeys, EachFieldLetsThroughOnlyItsKeys) {
  const QString valueKeys = QStringLiteral("0123456789-.\b\r");
  const QString countKeys = QStringLiteral("0123456789\b\r");
  const QString refused = QStringLiteral("aZ ,+e\t\x16");
  for (QChar k : valueKeys) {
    EXPECT_TRUE(LimitKeyAllowed(LimitField::Max, k)) << int(k.unicode());
    EXPECT_TRUE(LimitKeyAllowed(LimitField::Min, k)) << int(k.unicode());
  }
  for (QChar k : countKeys) EXPECT_TRUE(LimitKeyAllowed(LimitField::Counts, k)) << int(k.unicode());
  for (QChar k : QStringLiteral("-.") + refused) {
    EXPECT_FALSE(LimitKeyAllowed(LimitField::Counts, k)) << int(k.unicode());
  }
  for (QChar k : refused + QChar(0x0663)) {  // an Arabic-Indic three is not a digit here
    EXPECT_FALSE(LimitKeyAllowed(LimitField::Max, k)) << int(k.unicode());
    EXPECT_FALSE(LimitKeyAllowed(LimitField::Min, k)) << int(k.unicode());
  }
}

}  // namespace
}  // namespace solardesk
