#include <gtest/gtest.h>

#include <QStringList>

#include "link/HexText.h"
#include "link/OutputSlots.h"

namespace solardesk {
namespace {

TEST(HexText, SlotAndIdTextsBecomeNumbersAndNumbersUpperCaseDigits) {
  const struct {
    const char* text;
    int byte;
  } cases[] = {
      {"0", 0},    {"00", 0},  {"2", 2},  {"A", 0x0A}, {"a", 0x0A}, {"15", 0x15}, {"1A", 0x1A},
      {"FF", 255}, {" 7 ", 7}, {"G1", 0}, {"", 0},     {"1G", 0},   {"100", 0},   {"0FF", 255},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HexTextToByte(QString::fromLatin1(c.text)), c.byte) << c.text;
  }
  // Leading zeros are not significant; not hexadecimal reads as 0; five significant digits match
  // nothing.
  const std::pair<const char*, std::optional<std::uint16_t>> ids[] = {
      {"483", 0x0483}, {"5750", 0x5750}, {"8000", 0x8000},       {"0000FFFF", 0xFFFF},
      {"XYZ", 0},      {"", 0},          {"10483", std::nullopt}};
  for (const auto& [text, id] : ids) EXPECT_EQ(HexTextToId(text), id) << text;
  EXPECT_EQ(QStringList({ToHexText(0), ToHexText(26), ToHexText(0x10), ToHexText(255)}),
            QStringList({"0", "1A", "10", "FF"}));
}

TEST(OutputSlots, StartAsDoubleZeroCommandsAreHexAndOutOfRangeSlotsAreIgnored) {
  OutputSlots s;
  for (int i = 0; i < OutputSlots::kCount; ++i) EXPECT_EQ(s.text(i), "00");
  EXPECT_EQ(s.BuildReport(65), std::vector<std::uint8_t>(65, 0));
  int changes = 0;
  s.onChanged = [&](int) { ++changes; };
  s.set(-1, "FF");
  s.set(15, "FF");
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(s.text(15).isEmpty());
  s.setCommand(0x01, 0x0F);
  EXPECT_EQ(QStringList({s.text(0), s.text(1), s.text(2)}), QStringList({"0", "1", "F"}));
  EXPECT_EQ(s.BuildReport(65)[2], 0x0F);
}

}  // namespace
}  // namespace solardesk
