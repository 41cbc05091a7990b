#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

namespace solardesk {

// The meter's display image: bytes 1 to 30 of the display answer, one bit per segment of sixteen
// seven-segment digits and one bit per annunciator. This file holds the bit map and the places
// of the annunciators on the main window.

inline constexpr int kDigitCount = 16;
inline constexpr int kSegmentCount = 7;  // a b c d e f g
inline constexpr int kDisplayImageBytes = 30;

// The 42 annunciators, in the order the window shows or hides them.
enum class Ann : std::uint8_t {
  LblP4Dot,
  LblP5Dot,
  LblP6Dot,
  ImaAPO,
  LblCal,
  ImaDelta,
  ImaStart,
  ImaPause,
  Lbldh,
  Lblms,
  ImaBat,
  LblP1Dot,
  LblP2Dot,
  LblP3Dash,
  LblA,
  LblM,
  LblR,
  LblREC,
  LblSet,
  LblH,
  LblStart,
  LblStop,
  LblIntv,
  LblMax,
  LblMin,
  LblAvg,
  LblZero,
  Lblk,
  LblW,
  LblkWhh,
  ImaM1,
  LblH2,
  Lbld,
  LblK1,
  LblBtu,
  LblBtuSlash,
  LblSquare,
  Imaft,
  ImaH3,
  LblH4,
  Lbld1,
  LblPercent,
};
inline constexpr int kAnnunciatorCount = 42;

struct AnnunciatorInfo {
  Ann id;
  const char* name;     // the control's name, e.g. "LblH"
  bool isImage;         // an image control rather than a label
  const char* caption;  // a label's caption; for an image, the glyph the window draws
  int byte;             // byte of the display image, 1..30
  int bit;              // 0 = least significant
  QRect rect;           // left, top, width, height on the main window, in pixels
};

// Indexed by static_cast<int>(Ann).
const std::array<AnnunciatorInfo, kAnnunciatorCount>& Annunciators();
const AnnunciatorInfo& Info(Ann a);

// What one bit of the image drives.
struct BitTarget {
  enum class Kind : std::uint8_t { Unused, Segment, Annunciator, Spare } kind = Kind::Unused;
  std::uint8_t digit = 0;    // 1..16 for a segment
  std::uint8_t segment = 0;  // 1..7 (a..g) for a segment
  Ann annunciator = Ann::LblP4Dot;
};

// The target of bit `bit` (0..7) of byte `byte` (1..30); Unused outside the map.
BitTarget TargetOf(int byte, int bit);

// The bytes that carry bits, in decoding order: 1..6, 9..14, 17..22, 25..30.
const std::array<int, 24>& ImageBytes();

// Geometry of the drawn digits: the box that holds a digit's seven segment pictures.
struct DigitPlace {
  int left;
  int top;
  bool large;  // the four digits of the main reading
};
DigitPlace PlaceOfDigit(int digit);  // digit 1..16

}  // namespace solardesk
