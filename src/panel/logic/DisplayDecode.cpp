#include "DisplayDecode.h"

namespace solardesk {
namespace {

struct Figure {
  char c;
  const char* segments;  // letters that are on; all others are off
};

constexpr Figure kFigures[] = {
    {'8', "abcdefg"}, {'0', "abcdef"}, {'6', "acdefg"}, {'9', "abcdfg"}, {'2', "abdeg"},
    {'3', "abcdg"},   {'5', "acdfg"},  {'4', "bcfg"},   {'7', "abc"},    {'1', "bc"},
};

DigitSegments SegmentsOf(const char* letters) {
  DigitSegments s{};
  for (const char* p = letters; *p; ++p) s[static_cast<std::size_t>(*p - 'a')] = true;
  return s;
}

}  // namespace

bool DisplayFlags::segment(int digit, int seg) const {
  if (digit < 1 || digit > kDigitCount || seg < 1 || seg > kSegmentCount) return false;
  return digits[static_cast<std::size_t>(digit - 1)][static_cast<std::size_t>(seg - 1)];
}

std::optional<DisplayFlags> DecodeDisplayImage(const std::vector<std::uint8_t>& report) {
  if (report.size() < 1 + kDisplayImageBytes) return std::nullopt;
  DisplayFlags flags;
  for (int byte : ImageBytes()) {
    const std::uint8_t value = report[static_cast<std::size_t>(byte)];
    for (int bit = 0; bit < 8; ++bit) {
      const bool set = (value >> bit) & 1;
      const BitTarget t = TargetOf(byte, bit);
      switch (t.kind) {
        case BitTarget::Kind::Segment:
          flags.digits[t.digit - 1u][t.segment - 1u] = set;
          break;
        case BitTarget::Kind::Annunciator:
          flags.annunciators[static_cast<std::size_t>(t.annunciator)] = set;
          break;
        case BitTarget::Kind::Spare:
          flags.spare = set;
          break;
        case BitTarget::Kind::Unused:
          break;
      }
    }
  }
  return flags;
}

QChar SegmentsToChar(const DigitSegments& segments) {
  for (const Figure& f : kFigures) {
    if (SegmentsOf(f.segments) == segments) return QChar::fromLatin1(f.c);
  }
  return QLatin1Char(' ');
}

QString MakeReadingText(const DisplayFlags& flags) {
  QString c;
  for (int d = 0; d < 4; ++d) c += SegmentsToChar(flags.digits[static_cast<std::size_t>(d)]);
  if (flags.on(Ann::LblP4Dot)) return c.left(1) + '.' + c.mid(1);
  if (flags.on(Ann::LblP5Dot)) return c.left(2) + '.' + c.mid(2);
  if (flags.on(Ann::LblP6Dot)) return c.left(3) + '.' + c.mid(3);
  return c;
}

QString MakeReadingUnit(const DisplayFlags& flags) {
  if (flags.on(Ann::LblW) && flags.on(Ann::ImaM1) && !flags.on(Ann::LblH2)) return kUnitWatts;
  if (flags.on(Ann::LblBtu) && flags.on(Ann::LblBtuSlash) && flags.on(Ann::LblSquare) &&
      flags.on(Ann::Imaft) && flags.on(Ann::ImaH3) && !flags.on(Ann::LblH4))
    return kUnitBtu;
  return QString();
}

DigitSegments CharToSegments(QChar c) {
  for (const Figure& f : kFigures) {
    if (c == QLatin1Char(f.c)) return SegmentsOf(f.segments);
  }
  return {};
}

std::array<std::uint8_t, kDisplayImageBytes> EncodeDisplayImage(const DisplayFlags& flags) {
  std::array<std::uint8_t, kDisplayImageBytes> image{};
  for (int byte : ImageBytes()) {
    std::uint8_t value = 0;
    for (int bit = 0; bit < 8; ++bit) {
      const BitTarget t = TargetOf(byte, bit);
      bool set = false;
      if (t.kind == BitTarget::Kind::Segment) set = flags.segment(t.digit, t.segment);
      if (t.kind == BitTarget::Kind::Annunciator) set = flags.on(t.annunciator);
      if (t.kind == BitTarget::Kind::Spare) set = flags.spare;
      if (set) value = static_cast<std::uint8_t>(value | (1u << bit));
    }
    image[static_cast<std::size_t>(byte - 1)] = value;
  }
  return image;
}

}  // namespace solardesk
