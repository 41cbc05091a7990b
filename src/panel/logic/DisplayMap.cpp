#include "DisplayMap.h"

namespace solardesk {
namespace {

using K = BitTarget::Kind;

constexpr BitTarget N{};
constexpr BitTarget X{K::Spare, 0, 0, Ann::LblP4Dot};
constexpr BitTarget S(int digit, char letter) {
  return {K::Segment, static_cast<std::uint8_t>(digit), static_cast<std::uint8_t>(letter - 'a' + 1),
          Ann::LblP4Dot};
}
constexpr BitTarget A(Ann a) {
  return {K::Annunciator, 0, 0, a};
}

struct ByteRow {
  int byte;
  std::array<BitTarget, 8> bits;
};

// Bit 0 first. N: not read; X: decoded but drives nothing.
const std::array<ByteRow, 24> kMap = {{
    {1,
     {A(Ann::LblR), A(Ann::ImaDelta), S(8, 'a'), A(Ann::LblP1Dot), S(9, 'a'), A(Ann::ImaStart), N,
      N}},
    {2,
     {N, S(10, 'a'), A(Ann::ImaPause), S(11, 'a'), X, S(12, 'a'), A(Ann::LblP3Dash), S(13, 'a')}},
    {3,
     {A(Ann::Lbldh), S(14, 'a'), A(Ann::LblP2Dot), S(15, 'a'), A(Ann::Lblms), S(16, 'a'),
      A(Ann::LblStop), N}},
    {4,
     {A(Ann::LblIntv), A(Ann::LblZero), S(7, 'c'), S(7, 'd'), S(6, 'c'), S(6, 'd'), S(5, 'c'),
      S(5, 'd')}},
    {5,
     {A(Ann::Lblk), A(Ann::LblBtu), A(Ann::LblBtuSlash), S(4, 'b'), S(4, 'a'), S(3, 'b'), S(3, 'a'),
      N}},
    {6, {S(2, 'b'), S(2, 'a'), S(1, 'b'), S(1, 'a'), N, N, N, N}},
    {9, {A(Ann::LblM), A(Ann::LblCal), S(8, 'f'), S(8, 'b'), S(9, 'f'), S(9, 'b'), N, N}},
    {10, {N, S(10, 'f'), S(10, 'b'), S(11, 'f'), S(11, 'b'), S(12, 'f'), S(12, 'b'), S(13, 'f')}},
    {11, {S(13, 'b'), S(14, 'f'), S(14, 'b'), S(15, 'f'), S(15, 'b'), S(16, 'f'), S(16, 'b'), N}},
    {12,
     {A(Ann::LblStart), A(Ann::LblAvg), S(7, 'g'), S(7, 'e'), S(6, 'g'), S(6, 'e'), S(5, 'g'),
      S(5, 'e')}},
    {13,
     {A(Ann::LblW), A(Ann::LblK1), A(Ann::LblSquare), S(4, 'g'), S(4, 'f'), S(3, 'g'), S(3, 'f'),
      N}},
    {14, {S(2, 'g'), S(2, 'f'), S(1, 'g'), S(1, 'f'), N, N, N, N}},
    {17, {A(Ann::LblA), A(Ann::ImaAPO), S(8, 'e'), S(8, 'g'), S(9, 'e'), S(9, 'g'), N, N}},
    {18, {N, S(10, 'e'), S(10, 'g'), S(11, 'e'), S(11, 'g'), S(12, 'e'), S(12, 'g'), S(13, 'e')}},
    {19, {S(13, 'g'), S(14, 'e'), S(14, 'g'), S(15, 'e'), S(15, 'g'), S(16, 'e'), S(16, 'g'), N}},
    {20, {N, A(Ann::LblMin), S(7, 'b'), S(7, 'f'), S(6, 'b'), S(6, 'f'), S(5, 'b'), S(5, 'f')}},
    {21,
     {A(Ann::LblkWhh), A(Ann::Lbld), A(Ann::Imaft), A(Ann::LblH4), S(4, 'c'), S(4, 'e'), S(3, 'c'),
      S(3, 'e')}},
    {22, {S(2, 'c'), S(2, 'e'), S(1, 'c'), S(1, 'e'), N, N, N, N}},
    {25, {A(Ann::ImaBat), S(8, 'd'), S(8, 'c'), S(9, 'd'), S(9, 'c'), N, N, N}},
    {26, {N, S(10, 'd'), S(10, 'c'), S(11, 'd'), S(11, 'c'), S(12, 'd'), S(12, 'c'), S(13, 'd')}},
    {27, {S(13, 'c'), S(14, 'd'), S(14, 'c'), S(15, 'd'), S(15, 'c'), S(16, 'd'), S(16, 'c'), N}},
    {28,
     {N, A(Ann::LblMax), A(Ann::LblREC), S(7, 'a'), A(Ann::LblSet), S(6, 'a'), A(Ann::LblH),
      S(5, 'a')}},
    {29,
     {A(Ann::ImaM1), A(Ann::LblH2), A(Ann::ImaH3), A(Ann::Lbld1), A(Ann::LblPercent), S(4, 'd'),
      A(Ann::LblP6Dot), S(3, 'd')}},
    {30, {A(Ann::LblP5Dot), S(2, 'd'), A(Ann::LblP4Dot), S(1, 'd'), N, N, N, N}},
}};

// Image glyphs are drawn by the window; their caption here names the glyph.
const std::array<AnnunciatorInfo, kAnnunciatorCount> kAnnunciators = {{
    {Ann::LblP4Dot, "LblP4Dot", false, ".", 30, 2, {120, 248, 11, 57}},
    {Ann::LblP5Dot, "LblP5Dot", false, ".", 30, 0, {176, 248, 11, 57}},
    {Ann::LblP6Dot, "LblP6Dot", false, ".", 29, 6, {232, 248, 11, 57}},
    {Ann::ImaAPO, "ImaAPO", true, "APO", 17, 1, {24, 56, 32, 32}},
    {Ann::LblCal, "LblCal", false, "CAL", 9, 1, {56, 56, 51, 25}},
    {Ann::ImaDelta, "ImaDelta", true, "delta", 1, 1, {112, 56, 32, 32}},
    {Ann::ImaStart, "ImaStart", true, "start", 1, 5, {136, 56, 32, 32}},
    {Ann::ImaPause, "ImaPause", true, "pause", 2, 2, {160, 56, 32, 32}},
    {Ann::Lbldh, "Lbldh", false, "d-h", 3, 0, {240, 56, 36, 25}},
    {Ann::Lblms, "Lblms", false, "m:s", 3, 4, {304, 56, 39, 25}},
    {Ann::ImaBat, "ImaBat", true, "battery", 25, 0, {24, 88, 32, 32}},
    {Ann::LblP1Dot, "LblP1Dot", false, ".", 1, 3, {100, 88, 7, 37}},
    {Ann::LblP2Dot, "LblP2Dot", false, ":", 3, 2, {288, 88, 9, 37}},
    {Ann::LblP3Dash, "LblP3Dash", false, "-", 2, 6, {288, 88, 9, 37}},
    {Ann::LblA, "LblA", false, "A", 17, 0, {24, 136, 20, 25}},
    {Ann::LblM, "LblM", false, "M", 9, 0, {48, 136, 20, 25}},
    {Ann::LblR, "LblR", false, "R", 1, 0, {48, 168, 20, 25}},
    {Ann::LblREC, "LblREC", false, "REC", 28, 2, {160, 136, 44, 25}},
    {Ann::LblSet, "LblSet", false, "SET", 28, 4, {208, 136, 41, 25}},
    {Ann::LblH, "LblH", false, "H", 28, 6, {256, 136, 20, 25}},
    {Ann::LblStart, "LblStart", false, "START", 12, 0, {272, 120, 73, 25}},
    {Ann::LblStop, "LblStop", false, "STOP", 3, 6, {288, 144, 54, 25}},
    {Ann::LblIntv, "LblIntv", false, "INTV", 4, 0, {312, 168, 39, 25}},
    {Ann::LblMax, "LblMax", false, "MAX", 28, 1, {152, 168, 38, 25}},
    {Ann::LblMin, "LblMin", false, "MIN", 20, 1, {192, 168, 32, 25}},
    {Ann::LblAvg, "LblAvg", false, "AVG", 12, 1, {224, 168, 36, 25}},
    {Ann::LblZero, "LblZero", false, "ZERO", 4, 1, {264, 168, 47, 25}},
    {Ann::Lblk, "Lblk", false, "k", 5, 0, {56, 200, 10, 25}},
    {Ann::LblW, "LblW", false, "W", 13, 0, {64, 200, 16, 25}},
    {Ann::LblkWhh, "LblkWhh", false, "h", 21, 0, {80, 200, 11, 25}},
    {Ann::ImaM1, "ImaM1", true, "/m2", 29, 0, {96, 196, 32, 32}},
    {Ann::LblH2, "LblH2", false, "/h", 29, 1, {120, 200, 16, 25}},
    {Ann::Lbld, "Lbld", false, "d", 21, 1, {136, 200, 11, 25}},
    {Ann::LblK1, "LblK1", false, "k", 13, 1, {160, 200, 10, 25}},
    {Ann::LblBtu, "LblBtu", false, "Btu", 5, 1, {168, 200, 29, 25}},
    {Ann::LblBtuSlash, "LblBtuSlash", false, "/", 5, 2, {200, 200, 5, 25}},
    {Ann::LblSquare, "LblSquare", false, "(          )", 13, 2, {200, 200, 63, 25}},
    {Ann::Imaft, "Imaft", true, "ft", 21, 2, {216, 196, 32, 32}},
    {Ann::ImaH3, "ImaH3", true, "2", 29, 2, {232, 196, 32, 32}},
    {Ann::LblH4, "LblH4", false, "/h", 21, 3, {272, 200, 16, 25}},
    {Ann::Lbld1, "Lbld1", false, "d", 29, 3, {288, 200, 11, 25}},
    {Ann::LblPercent, "LblPercent", false, "%", 29, 4, {320, 256, 15, 25}},
}};

}  // namespace

const std::array<AnnunciatorInfo, kAnnunciatorCount>& Annunciators() {
  return kAnnunciators;
}

const AnnunciatorInfo& Info(Ann a) {
  return kAnnunciators[static_cast<std::size_t>(a)];
}

BitTarget TargetOf(int byte, int bit) {
  if (bit < 0 || bit > 7) return N;
  for (const ByteRow& row : kMap) {
    if (row.byte == byte) return row.bits[static_cast<std::size_t>(bit)];
  }
  return N;
}

const std::array<int, 24>& ImageBytes() {
  static const std::array<int, 24> bytes = [] {
    std::array<int, 24> b{};
    for (std::size_t i = 0; i < kMap.size(); ++i) b[i] = kMap[i].byte;
    return b;
  }();
  return bytes;
}

DigitPlace PlaceOfDigit(int digit) {
  static constexpr int kLefts[kDigitCount] = {80,  136, 192, 248, 72,  96,  120, 72,
                                              104, 128, 152, 208, 232, 256, 296, 320};
  if (digit < 1 || digit > kDigitCount) return {0, 0, false};
  const int left = kLefts[digit - 1];
  if (digit <= 4) return {left, 232, true};
  if (digit <= 7) return {left, 152, false};
  return {left, digit == 10 ? 89 : 88, false};
}

}  // namespace solardesk
