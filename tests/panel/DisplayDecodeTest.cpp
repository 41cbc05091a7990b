#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "panel/logic/DisplayDecode.h"
#include "sim/VirtualMeter.h"

namespace solardesk {
namespace {

DisplayFlags Showing(const char* reading, const QString& unit = kUnitWatts) {
  return sim::DisplayFor(QString::fromLatin1(reading), unit);
}

DisplayFlags With(const std::vector<Ann>& on) {
  DisplayFlags f;
  for (Ann a : on) f.annunciators[static_cast<std::size_t>(a)] = true;
  return f;
}

TEST(DisplayMap, EveryDigitGetsExactlyItsSevenSegmentsAndEveryAnnunciatorOneBit) {
  std::map<std::pair<int, int>, int> segmentBits;
  std::map<int, int> annunciatorBits;
  int spare = 0;
  std::set<int> imageBytes(ImageBytes().begin(), ImageBytes().end());
  for (int byte = 0; byte <= 31; ++byte) {
    for (int bit = 0; bit < 8; ++bit) {
      const BitTarget t = TargetOf(byte, bit);
      if (t.kind != BitTarget::Kind::Unused) {
        EXPECT_TRUE(imageBytes.count(byte)) << byte;
      }
      if (t.kind == BitTarget::Kind::Segment) ++segmentBits[{t.digit, t.segment}];
      if (t.kind == BitTarget::Kind::Spare) ++spare;
      if (t.kind == BitTarget::Kind::Annunciator) {
        ++annunciatorBits[static_cast<int>(t.annunciator)];
        const AnnunciatorInfo& info = Info(t.annunciator);
        EXPECT_EQ(info.byte, byte) << info.name;
        EXPECT_EQ(info.bit, bit) << info.name;
      }
    }
  }
  EXPECT_EQ(segmentBits.size(), 16u * 7u);
  for (const auto& [key, count] : segmentBits) EXPECT_EQ(count, 1);
  EXPECT_EQ(annunciatorBits.size(), 42u);
  for (const auto& [key, count] : annunciatorBits) EXPECT_EQ(count, 1);
  EXPECT_EQ(spare, 1);
  for (int a = 0; a < kAnnunciatorCount; ++a) EXPECT_EQ(static_cast<int>(Annunciators()[a].id), a);
  for (int byte : {7, 8, 15, 16, 23, 24}) EXPECT_FALSE(imageBytes.count(byte));
}

// Too short an answer cannot be decoded; byte 2 bit 4 drives nothing visible.
TEST(DisplayDecode, ShortAnswersAndTheSpareBit) {
  EXPECT_FALSE(DecodeDisplayImage({}));
  EXPECT_FALSE(DecodeDisplayImage(std::vector<std::uint8_t>(30, 0xFF)));
  std::vector<std::uint8_t> r(31, 0);
  const auto blank = DecodeDisplayImage(r);
  ASSERT_TRUE(blank);
  EXPECT_EQ(*blank, DisplayFlags{});
  EXPECT_EQ(MakeReadingText(*blank), "    ");
  r[2] = 0x10;
  DisplayFlags spare;
  spare.spare = true;
  EXPECT_EQ(DecodeDisplayImage(r), spare);
}

// Every figure in every place is decoded from the meter's bytes below; here, what is no figure.
TEST(DisplayDecode, FiguresNeedTheirExactSegmentsAndTheReadingTakesTheFirstLitPoint) {
  for (const char* on : {"", "g", "abcf", "efg", "abcd", "bcd"}) {
    DigitSegments s{};
    for (const char* p = on; *p; ++p) s[*p - 'a'] = true;
    EXPECT_EQ(SegmentsToChar(s), QLatin1Char(' ')) << on;
  }
  // The places of the points come from the meter's bytes below; here, more than one point is lit.
  const struct {
    const char* shown;
    std::vector<Ann> extraPoints;
    const char* text;
  } cases[] = {
      {"1234", {Ann::LblP4Dot, Ann::LblP6Dot}, "1.234"},
      {"1234", {Ann::LblP5Dot, Ann::LblP6Dot}, "12.34"},
      {"-2.5", {}, " 2.5 "},  // a dash is not a figure, nor is a blank
  };
  for (const auto& c : cases) {
    DisplayFlags f = Showing(c.shown);
    for (Ann a : c.extraPoints) f.annunciators[static_cast<std::size_t>(a)] = true;
    EXPECT_EQ(MakeReadingText(f), QString::fromLatin1(c.text)) << c.shown;
  }
  DisplayFlags minus = Showing("1234");
  minus.digits[1] = DigitSegments{false, false, false, false, false, false, true};
  EXPECT_EQ(MakeReadingText(minus), "1 34");
}

TEST(DisplayDecode, UnitFollowsItsAnnunciators) {
  using enum Ann;
  const struct {
    std::vector<Ann> on;
    const char* unit;
  } cases[] = {
      {{}, ""},
      {{LblW, ImaM1}, "W/(M)2"},
      {{LblW, ImaM1, LblH2}, ""},  // an energy display
      {{LblW, ImaM1, Lblk, LblK1}, "W/(M)2"},
      {{LblBtu, LblBtuSlash, LblSquare, Imaft, ImaH3}, "Btu/(ft)2.h"},
      {{LblBtu, LblBtuSlash, LblSquare, Imaft, ImaH3, LblH4}, ""},
      {{LblBtu, LblBtuSlash, LblSquare, ImaH3}, ""},
      {{LblBtu, LblBtuSlash, LblSquare, Imaft, ImaH3, LblW, ImaM1}, "W/(M)2"},  // watts win
  };
  for (const auto& c : cases) EXPECT_EQ(MakeReadingUnit(With(c.on)), c.unit) << c.unit;
}

// The meter's own bytes, written out from its bit map: the four main digits show every figure in
// every place, with each decimal point; the production encoder must give the same bytes.
TEST(DisplayDecode, MainReadingFromTheMetersBytes) {
  // Bytes 5, 6, 13, 14, 21, 22, 29, 30 of the image; every other byte is 0.
  constexpr int kBytes[] = {5, 6, 13, 14, 21, 22, 29, 30};
  const struct {
    const char* text;
    std::array<std::uint8_t, 8> bytes;
  } cases[] = {
      {"0123", {0x78, 0x0D, 0x28, 0x08, 0x90, 0x0D, 0xA0, 0x08}},
      {"1234", {0x68, 0x07, 0x38, 0x01, 0x50, 0x06, 0x80, 0x02}},
      {"2345", {0x30, 0x0F, 0x78, 0x05, 0x50, 0x09, 0x20, 0x0A}},
      {"3456", {0x50, 0x0D, 0x78, 0x07, 0x70, 0x05, 0xA0, 0x08}},
      {"4567", {0x58, 0x06, 0x60, 0x0F, 0xD0, 0x05, 0x80, 0x02}},
      {"5678", {0x78, 0x0A, 0x18, 0x0F, 0x70, 0x07, 0x20, 0x0A}},
      {"6789", {0x78, 0x0B, 0x78, 0x0C, 0xD0, 0x0D, 0xA0, 0x08}},
      {"7890", {0x78, 0x0F, 0x70, 0x03, 0x70, 0x07, 0xA0, 0x02}},
      {"8901", {0x68, 0x0F, 0x40, 0x0F, 0xD0, 0x0D, 0x80, 0x0A}},
      {"9012", {0x38, 0x0F, 0x08, 0x0E, 0x60, 0x07, 0x20, 0x0A}},
      // "8888" with the point after the first, second or third digit (30.2, 30.0, 29.6).
      {"8.888", {0x78, 0x0F, 0x78, 0x0F, 0xF0, 0x0F, 0xA0, 0x0E}},
      {"88.88", {0x78, 0x0F, 0x78, 0x0F, 0xF0, 0x0F, 0xA0, 0x0B}},
      {"888.8", {0x78, 0x0F, 0x78, 0x0F, 0xF0, 0x0F, 0xE0, 0x0A}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> report(31, 0);
    for (std::size_t k = 0; k < std::size(kBytes); ++k) report[kBytes[k]] = c.bytes[k];
    const auto f = DecodeDisplayImage(report);
    ASSERT_TRUE(f);
    EXPECT_EQ(MakeReadingText(*f), QString::fromLatin1(c.text));
    // Nothing else is lit but the one decimal point.
    EXPECT_EQ(std::count(f->annunciators.begin(), f->annunciators.end(), true),
              QString::fromLatin1(c.text).count(QLatin1Char('.')))
        << c.text;
    const auto encoded = EncodeDisplayImage(*f);  // bytes 1 onwards
    EXPECT_TRUE(std::equal(report.begin() + 1, report.end(), encoded.begin())) << c.text;
  }
}

TEST(DisplayDecode, AnnunciatorsFromTheMetersBytes) {
  const struct {
    int byte;
    std::uint8_t bits;
    Ann lit;
  } cases[] = {
      {1, 0x01, Ann::LblR},        {2, 0x04, Ann::ImaPause}, {3, 0x40, Ann::LblStop},
      {9, 0x02, Ann::LblCal},      {13, 0x01, Ann::LblW},    {17, 0x01, Ann::LblA},
      {21, 0x04, Ann::Imaft},      {25, 0x01, Ann::ImaBat},  {28, 0x04, Ann::LblREC},
      {29, 0x10, Ann::LblPercent}, {28, 0x40, Ann::LblH},    {30, 0x01, Ann::LblP5Dot},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> report(31, 0);
    report[static_cast<std::size_t>(c.byte)] = c.bits;
    const auto f = DecodeDisplayImage(report);
    ASSERT_TRUE(f);
    EXPECT_EQ(*f, With({c.lit})) << Info(c.lit).name;
  }
}

}  // namespace
}  // namespace solardesk
