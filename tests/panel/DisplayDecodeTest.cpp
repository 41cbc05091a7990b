#include <gtest/gtest.h>

#include <random>
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

TEST(DisplayDecode, EncodeAndDecodeAreInverse) {
  std::mt19937 random(7);
  for (int n = 0; n < 200; ++n) {
    std::vector<std::uint8_t> r(31, 0);
    for (int byte : ImageBytes()) r[byte] = static_cast<std::uint8_t>(random());
    const auto f = DecodeDisplayImage(r);
    ASSERT_TRUE(f);
    const auto back = EncodeDisplayImage(*f);
    for (int byte : ImageBytes()) {
      std::uint8_t used = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (TargetOf(byte, bit).kind != BitTarget::Kind::Unused) {
          used |= 1 << bit;
        }
      EXPECT_EQ(back[byte - 1], r[byte] & used) << byte;
    }
  }
}

}  // namespace
}  // namespace solardesk
