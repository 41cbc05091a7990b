#include "HexText.h"

namespace solardesk {
namespace {

// The value of a whole hexadecimal text, or nothing when it holds anything else.
std::optional<std::uint64_t> ParseHex(const QString& text, int maxSignificantDigits) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  std::uint64_t value = 0;
  int significant = 0;
  for (QChar c : t) {
    const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
    if (digit < 0) return std::nullopt;
    if (significant > 0 || digit != 0) ++significant;
    if (significant > maxSignificantDigits) return std::uint64_t{1} << 63;  // too large
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

}  // namespace

std::uint8_t HexTextToByte(const QString& text) {
  const auto v = ParseHex(text, 8);
  if (!v || *v > 0xFF) return 0;
  return static_cast<std::uint8_t>(*v);
}

std::optional<std::uint16_t> HexTextToId(const QString& text) {
  const auto v = ParseHex(text, 8);
  if (!v) return std::uint16_t{0};
  if (*v > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(*v);
}

QString ToHexText(unsigned value) {
  return QString::number(value, 16).toUpper();
}

}  // namespace solardesk
