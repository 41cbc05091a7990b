#include "PlotSeries.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace solardesk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Values beyond single precision are kept at its largest magnitude.
float ToSingle(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(v, -kMax, kMax));
}

}  // namespace

double LeadingNumber(QByteArrayView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == ' ') ++i;
  const qsizetype start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  qsizetype digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  // An exponent counts only when figures follow it.
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    qsizetype j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && IsDigit(text[j])) {
      while (j < n && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // from_chars reads "." whatever the desktop's language; it takes no leading "+".
  const char* first = text.data() + start;
  if (*first == '+') ++first;
  double value = 0.0;
  const auto error = std::from_chars(first, text.data() + i, value).ec;
  return error == std::errc{} && std::isfinite(value) ? value : 0.0;
}

std::vector<float> BuildPlotSeries(const LineStore& entries, ProgressPacer& pacer) {
  const int n = entries.count();
  std::vector<float> series(static_cast<size_t>(n), 0.0f);
  for (int i = 1; i <= n; ++i) {
    const QByteArrayView entry = entries.bytes(i - 1);
    const qsizetype first = entry.indexOf('\t');
    const qsizetype second = first < 0 ? -1 : entry.indexOf('\t', first + 1);
    if (second >= 0)
      series[static_cast<size_t>(i - 1)] = ToSingle(LeadingNumber(entry.sliced(second + 1)));
    if ((pacer.Due() || i == n) &&
        !pacer.Show(QStringLiteral("%1% Completed").arg(static_cast<long long>(i) * 100 / n)))
      break;
  }
  return series;
}

}  // namespace solardesk
