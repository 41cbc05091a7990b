#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "panel/logic/DisplayDecode.h"
#include "sim/VirtualMeter.h"

namespace solardesk {
namespace {

// A display answer (report ID 0 in front) with the given flags.
std::vector<std::uint8_t> Report(const DisplayFlags& f) {
  const auto image = EncodeDisplayImage(f);
  std::vector<std::uint8_t> r(65, 0);
  std::copy(image.begin(), image.end(), r.begin() + 1);
  return r;
}

DisplayFlags Showing(const char* reading, const QString& unit = kUnitWatts) {
  return sim::DisplayFor(QString::fromLatin1(reading), unit);
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

TEST(DisplayDecode, AllZeroImageShowsNothing) {
  const auto f = DecodeDisplayImage(std::vector<std::uint8_t>(31, 0));
  ASSERT_TRUE(f);
  EXPECT_EQ(*f, DisplayFlags{});
  EXPECT_EQ(MakeReadingText(*f), "    ");
  EXPECT_EQ(MakeReadingUnit(*f), "");
}

TEST(DisplayDecode, ShortAnswersCannotBeDecoded) {
  EXPECT_FALSE(DecodeDisplayImage({}));
  EXPECT_FALSE(DecodeDisplayImage(std::vector<std::uint8_t>(9, 0xFF)));
  EXPECT_FALSE(DecodeDisplayImage(std::vector<std::uint8_t>(30, 0xFF)));
  EXPECT_TRUE(DecodeDisplayImage(std::vector<std::uint8_t>(31, 0xFF)));
}

TEST(DisplayDecode, KnownBitsLightKnownPlaces) {
  std::vector<std::uint8_t> r(31, 0);
  r[30] = 0x01;  // byte 30 bit 0: LblP5Dot
  r[6] = 0x08;   // byte 6 bit 3: 1a
  r[28] = 0x40;  // byte 28 bit 6: LblH
  const auto f = DecodeDisplayImage(r);
  ASSERT_TRUE(f);
  EXPECT_TRUE(f->on(Ann::LblP5Dot));
  EXPECT_TRUE(f->on(Ann::LblH));
  EXPECT_TRUE(f->segment(1, 1));
  EXPECT_FALSE(f->segment(1, 2));
  r.assign(31, 0);
  r[2] = 0x10;  // byte 2 bit 4 drives nothing visible
  const auto spare = DecodeDisplayImage(r);
  EXPECT_TRUE(spare->spare);
  EXPECT_EQ(spare->digits, DisplayFlags{}.digits);
  EXPECT_EQ(spare->annunciators, DisplayFlags{}.annunciators);
}

TEST(DisplayDecode, FiguresAreRecognisedOnlyByTheirExactSegments) {
  const struct {
    const char* on;
    char expected;
  } cases[] = {
      {"abcdefg", '8'}, {"abcdef", '0'}, {"acdefg", '6'}, {"abcdfg", '9'},  {"abdeg", '2'},
      {"abcdg", '3'},   {"acdfg", '5'},  {"bcfg", '4'},   {"abc", '7'},     {"bc", '1'},
      {"", ' '},        {"g", ' '},      {"abcf", ' '},   {"abcdefg", '8'}, {"efg", ' '},
      {"abcd", ' '},    {"bcd", ' '},
  };
  for (const auto& c : cases) {
    DigitSegments s{};
    for (const char* p = c.on; *p; ++p) s[*p - 'a'] = true;
    EXPECT_EQ(SegmentsToChar(s), QLatin1Char(c.expected)) << c.on;
  }
}

TEST(DisplayDecode, ReadingTextTakesTheFirstLitPoint) {
  const struct {
    const char* shown;
    std::vector<Ann> extraPoints;
    const char* text;
  } cases[] = {
      {"12.34", {}, "12.34"},
      {"1.234", {}, "1.234"},
      {"123.4", {}, "123.4"},
      {"1234", {}, "1234"},
      {"1234", {Ann::LblP4Dot, Ann::LblP6Dot}, "1.234"},
      {"1234", {Ann::LblP5Dot, Ann::LblP6Dot}, "12.34"},
      {"98.76", {}, "98.76"},
      {"-2.5", {}, " 2.5 "},  // a dash is not a figure, nor is a blank
  };
  for (const auto& c : cases) {
    DisplayFlags f = Showing(c.shown);
    for (Ann a : c.extraPoints) f.annunciators[static_cast<std::size_t>(a)] = true;
    const auto decoded = DecodeDisplayImage(Report(f));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(MakeReadingText(*decoded), QString::fromLatin1(c.text)) << c.shown;
  }
  DisplayFlags minus = Showing("1234");
  minus.digits[1] = DigitSegments{false, false, false, false, false, false, true};
  EXPECT_EQ(MakeReadingText(minus), "1 34");
}

TEST(DisplayDecode, UnitFollowsItsAnnunciators) {
  auto with = [](std::initializer_list<Ann> on) {
    DisplayFlags f;
    for (Ann a : on) f.annunciators[static_cast<std::size_t>(a)] = true;
    return MakeReadingUnit(f);
  };
  EXPECT_EQ(with({Ann::LblW, Ann::ImaM1}), "W/(M)2");
  EXPECT_EQ(with({Ann::LblW, Ann::ImaM1, Ann::LblH2}), "");  // an energy display
  EXPECT_EQ(with({Ann::LblW, Ann::ImaM1, Ann::Lblk, Ann::LblK1}), "W/(M)2");
  const std::initializer_list<Ann> btu = {Ann::LblBtu, Ann::LblBtuSlash, Ann::LblSquare, Ann::Imaft,
                                          Ann::ImaH3};
  DisplayFlags f;
  for (Ann a : btu) f.annunciators[static_cast<std::size_t>(a)] = true;
  EXPECT_EQ(MakeReadingUnit(f), "Btu/(ft)2.h");
  f.annunciators[static_cast<std::size_t>(Ann::LblH4)] = true;
  EXPECT_EQ(MakeReadingUnit(f), "");
  f.annunciators[static_cast<std::size_t>(Ann::LblH4)] = false;
  f.annunciators[static_cast<std::size_t>(Ann::Imaft)] = false;
  EXPECT_EQ(MakeReadingUnit(f), "");
  for (Ann a : {Ann::Imaft, Ann::LblW, Ann::ImaM1})
    f.annunciators[static_cast<std::size_t>(a)] = true;
  EXPECT_EQ(MakeReadingUnit(f), "W/(M)2");  // watts win over Btu
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
      {29, 0x10, Ann::LblPercent},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> report(31, 0);
    report[static_cast<std::size_t>(c.byte)] = c.bits;
    const auto f = DecodeDisplayImage(report);
    ASSERT_TRUE(f);
    DisplayFlags expected;
    expected.annunciators[static_cast<std::size_t>(c.lit)] = true;
    EXPECT_EQ(*f, expected) << Info(c.lit).name;
  }
}

}  // namespace
}  // namespace solardesk
