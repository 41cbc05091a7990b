#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace solardesk {

// Hexadecimal texts without prefix, as the output byte slots and the ID boxes hold them.

// The byte a slot text stands for. Leading and trailing blanks are ignored; a text that is not
// hexadecimal, or whose value does not fit in one byte, gives 0.
std::uint8_t HexTextToByte(const QString& text);

// The 16-bit identifier an ID text stands for ("483" is 0x0483). A text that is not hexadecimal
// gives 0. A text with five or more significant digits stands for no 16-bit ID at all.
std::optional<std::uint16_t> HexTextToId(const QString& text);

// A number as upper-case hexadecimal digits without prefix or leading zeros: 26 gives "1A".
QString ToHexText(unsigned value);

}  // namespace solardesk
