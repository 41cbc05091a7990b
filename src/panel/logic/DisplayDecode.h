#pragma once

#include <QChar>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "DisplayMap.h"

namespace solardesk {

using DigitSegments = std::array<bool, kSegmentCount>;  // a b c d e f g

// Everything the display image switches on or off.
struct DisplayFlags {
  std::array<DigitSegments, kDigitCount> digits{};     // digit 1 at index 0
  std::array<bool, kAnnunciatorCount> annunciators{};  // indexed by Ann
  bool spare = false;                                  // byte 2 bit 4: drives nothing

  bool segment(int digit, int segment) const;  // 1-based, false outside
  bool on(Ann a) const { return annunciators[static_cast<std::size_t>(a)]; }
  bool operator==(const DisplayFlags&) const = default;
};

// Decodes the display answer. `report` is the whole input report (index 0 the report ID);
// nothing when it is shorter than the report ID and 30 image bytes.
std::optional<DisplayFlags> DecodeDisplayImage(const std::vector<std::uint8_t>& report);

// The figure a digit shows, or a space for anything that is not one of the ten figures.
QChar SegmentsToChar(const DigitSegments& segments);

// The main reading: the characters of digits 1 to 4, with the first lit decimal point.
QString MakeReadingText(const DisplayFlags& flags);

// "W/(M)2", "Btu/(ft)2.h" or the empty text, from the unit annunciators.
QString MakeReadingUnit(const DisplayFlags& flags);

inline const QString kUnitWatts = QStringLiteral("W/(M)2");
inline const QString kUnitBtu = QStringLiteral("Btu/(ft)2.h");

// The other way round, for whatever plays the meter: the segments of a figure (all off for
// anything else) and the 30 image bytes (bytes 1..30) of a set of flags.
DigitSegments CharToSegments(QChar c);
std::array<std::uint8_t, kDisplayImageBytes> EncodeDisplayImage(const DisplayFlags& flags);

}  // namespace solardesk
