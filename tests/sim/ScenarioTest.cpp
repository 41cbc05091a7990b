#include <gtest/gtest.h>

#include "link/Commands.h"
#include "panel/logic/DisplayDecode.h"
#include "sim/Scenario.h"

namespace solardesk::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ScenarioTest : public ::testing::Test {
 protected:
  ScenarioResult Load(const QByteArray& json) { return LoadScenario(json, clock); }
  Bytes Ask(VirtualMeter& m, unsigned code, std::uint8_t p = 0) {
    const auto a = m.Handle({0, cmd::kQuery, static_cast<std::uint8_t>(code), p});
    return a.empty() ? Bytes{} : a.front();
  }
  ManualClock clock{QDateTime(QDate(2026, 12, 4), QTime(12, 0, 0))};
};

TEST_F(ScenarioTest, EmptyScenarioIsTheDemoMeterAndAnAbsentOneIsNotOnTheBus) {
  const auto s = Load("{}");
  ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
  EXPECT_EQ(s.bus->enumerate().size(), 1u);
  EXPECT_EQ(s.meter->sets.size(), 3u);
  EXPECT_TRUE(Load(R"({"absent": true})").bus->enumerate().empty());
}

// The other keys are read back through the command-line tool's tests; the display bytes stand
// as they are.
TEST_F(ScenarioTest, KeysTheToolDoesNotShowReachTheMeter) {
  QByteArray hex = QByteArray("00 ").repeated(30).trimmed();
  hex[12 * 3 + 1] = '1';  // byte 13: LblW
  hex[28 * 3 + 1] = '1';  // byte 29: ImaM1
  const auto s = Load(R"({"output_report_length": 9, "display_hex": ")" + hex +
                      R"(", "logger": {"status": 1, "sets": [
      {"start": "12/03/05 00:00:00", "length": 100, "stream_hex": "41 42"}]}})");
  ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
  EXPECT_EQ(Ask(*s.meter, cmd::kQueryLoggerStatus)[0], 1);
  const auto blocks = s.meter->Handle({0, cmd::kQuery, cmd::kQuerySetData, 1});
  ASSERT_EQ(blocks.size(), 2u);  // 100 bytes announced: two blocks, zero beyond the stream
  const Bytes first = blocks[0];
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 3), (Bytes{0x41, 0x42, 0}));
  EXPECT_EQ(s.bus->ports().front()->outputReportLength, 9);
  Bytes image(30, 0);
  image[12] = image[28] = 1;
  EXPECT_EQ(Ask(*s.meter, cmd::kQueryDisplay), image);
}

// A set that announces 4 GB costs only the blocks that are read: they are made as they go out.
TEST_F(ScenarioTest, HugeAnnouncedLoggerSetBuildsOnlyTheBlocksRead) {
  const auto s = Load(R"({"logger": {"status": 1, "sets": [
      {"start": "12/03/05 00:00:00", "length": 4294967295, "stream_hex": "41 42"}]}})");
  ASSERT_TRUE(s.error.isEmpty()) << s.error.toStdString();
  auto blocks = s.meter->Handle({0, cmd::kQuery, cmd::kQuerySetData, 1});
  ASSERT_EQ(blocks.size(), std::size_t{67108864});  // 2^32 - 1 bytes in 64-byte blocks
  const Bytes first = blocks.Take();
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 3), (Bytes{0x41, 0x42, 0}));
  EXPECT_EQ(blocks.at(blocks.size() - 1), Bytes(64, 0));
  EXPECT_EQ(blocks.size(), std::size_t{67108863});
}

TEST_F(ScenarioTest, MistakesNameTheirKey) {
  const struct {
    const char* json;
    const char* key;
  } cases[] = {
      {R"({"colour": 1})", "colour"},
      {R"({"unit": "lux"})", "unit"},
      {R"({"unit": 5})", "unit"},
      {R"({"reading": "12345"})", "reading"},
      {R"({"reading": "1.2.3"})", "reading"},
      {R"({"interval": "60"})", "interval"},
      {R"({"calibration": 70000})", "calibration"},
      {R"({"reservation": [1, 2, 3]})", "reservation"},
      {R"({"cycling": [1, 2, 3, 4, 5, 256]})", "cycling"},
      {R"({"clock": "2026/12/04 10:00:00"})", "clock"},
      {R"({"display_hex": "00 11"})", "display_hex"},
      {R"({"display_hex": "zz"})", "display_hex"},
      {R"({"logger": {"sets": [{"start": "12/13/40 00:00:00"}]}})", "logger.sets[0].start"},
      {R"({"logger": {"sets": [{"start": "12/03/04 05:06:07", "colour": 1}]}})",
       "logger.sets[0].colour"},
      {R"({"logger": {"free": 1}})", "logger.free"},
      {R"({"silent": "yes"})", "silent"},
      {R"({"input_report_length": 0})", "input_report_length"}};
  for (const auto& c : cases) {
    const auto s = Load(c.json);
    EXPECT_TRUE(s.error.startsWith(QString::fromLatin1(c.key) + ":"))
        << c.json << " -> " << s.error.toStdString();
    EXPECT_FALSE(s.bus);
  }
  EXPECT_FALSE(Load("[1, 2]").error.isEmpty());
  EXPECT_FALSE(Load("{").error.isEmpty());
}

}  // namespace
}  // namespace solardesk::sim
