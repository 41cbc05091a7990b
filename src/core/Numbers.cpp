#include "Numbers.h"

#include <QByteArray>
#include <charconv>
#include <cmath>

namespace solardesk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

struct Rule {
  bool plus = false;      // a "+" may lead
  bool minus = false;     // a "-" may lead
  bool exponent = false;  // "e" and figures may follow
};

struct Scan {
  qsizetype end = 0;  // after the number's last character
  int figures = 0;
};

// How far the number at `from` goes under `rule`.
Scan ScanNumber(QByteArrayView t, qsizetype from, Rule rule) {
  const qsizetype n = t.size();
  qsizetype i = from;
  if (i < n && ((rule.plus && t[i] == '+') || (rule.minus && t[i] == '-'))) ++i;
  int figures = 0;
  while (i < n && IsDigit(t[i])) ++i, ++figures;
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && IsDigit(t[i])) ++i, ++figures;
  }
  if (figures == 0) return {from, 0};
  // An exponent counts only when figures follow it.
  if (rule.exponent && i < n && (t[i] == 'E' || t[i] == 'e')) {
    qsizetype j = i + 1;
    if (j < n && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < n && IsDigit(t[j])) {
      while (j < n && IsDigit(t[j])) ++j;
      i = j;
    }
  }
  return {i, figures};
}

// The value of a scanned number; nothing beyond the range of a double. from_chars reads "."
// whatever the desktop's language; it takes no leading "+".
std::optional<double> ValueOf(QByteArrayView t, qsizetype from, qsizetype end) {
  const char* first = t.data() + from;
  if (*first == '+') ++first;
  double value = 0.0;
  const auto [stop, error] = std::from_chars(first, t.data() + end, value);
  if (error != std::errc{} || stop != t.data() + end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Plain decimals ("123.45", "-0.5") of up to 15 figures are exact in a double, and so is a power
// of ten up to 1e15: their quotient is the correctly rounded value, without from_chars.
std::optional<double> PlainDecimal(QByteArrayView t) {
  static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  qsizetype i = 0;
  const bool negative = t[0] == '-';
  if (negative) ++i;
  qint64 mantissa = 0;
  int figures = 0, decimals = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (IsDigit(c)) {
      if (++figures > 15) return std::nullopt;
      mantissa = mantissa * 10 + (c - '0');
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (figures == 0) return std::nullopt;
  const double v = static_cast<double>(mantissa) / kPowers[decimals];
  return negative ? -v : v;
}

qsizetype SkipSpaces(QByteArrayView t) {
  qsizetype i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  return i;
}

double Leading(QByteArrayView text, Rule rule) {
  const qsizetype start = SkipSpaces(text);
  const Scan s = ScanNumber(text, start, rule);
  if (s.figures == 0) return 0.0;
  return ValueOf(text, start, s.end).value_or(0.0);
}

}  // namespace

double LeadingNumber(QByteArrayView text) {
  return Leading(text, {.plus = true, .minus = true, .exponent = true});
}

double LeadingNumber(QStringView text) {
  return LeadingNumber(QByteArrayView(text.toLatin1()));
}

double LeadingUnsignedNumber(QByteArrayView text) {
  return Leading(text, {});
}

std::optional<double> ReadingValue(QByteArrayView text) {
  while (!text.empty() && text.front() == ' ') text = text.sliced(1);
  while (!text.empty() && text.back() == ' ') text.chop(1);
  if (text.empty()) return std::nullopt;
  if (const std::optional<double> plain = PlainDecimal(text)) return plain;
  const Scan s = ScanNumber(text, 0, {.minus = true, .exponent = true});
  if (s.figures == 0 || s.end != text.size()) return std::nullopt;
  return ValueOf(text, 0, s.end);
}

}  // namespace solardesk
