#include <gtest/gtest.h>

#include "link/HexText.h"

namespace solardesk {
namespace {

TEST(HexText, SlotTextsBecomeBytes) {
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
}

TEST(HexText, IdTextsStandForSixteenBitPatterns) {
  EXPECT_EQ(HexTextToId("483"), 0x0483);
  EXPECT_EQ(HexTextToId("5750"), 0x5750);
  EXPECT_EQ(HexTextToId("8000"), 0x8000);
  EXPECT_EQ(HexTextToId("0000FFFF"), 0xFFFF);  // leading zeros are not significant
  EXPECT_EQ(HexTextToId("XYZ"), 0);            // not hexadecimal: 0
  EXPECT_EQ(HexTextToId(""), 0);
  EXPECT_FALSE(HexTextToId("10483").has_value());  // five significant digits match nothing
}

TEST(HexText, NumbersBecomeUpperCaseDigitsWithoutLeadingZeros) {
  EXPECT_EQ(ToHexText(0), "0");
  EXPECT_EQ(ToHexText(26), "1A");
  EXPECT_EQ(ToHexText(0x10), "10");
  EXPECT_EQ(ToHexText(255), "FF");
}

}  // namespace
}  // namespace solardesk
