#include "SampleTime.h"

namespace solardesk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The figures at positions `at` and `at + 1` as a number, or -1 when either is not a figure.
int TwoDigits(QByteArrayView t, qsizetype at) {
  if (!IsDigit(t[at]) || !IsDigit(t[at + 1])) return -1;
  return (t[at] - '0') * 10 + (t[at + 1] - '0');
}

}  // namespace

std::optional<qint64> ParseSampleTime(QByteArrayView text) {
  while (!text.empty() && text.front() == ' ') text = text.sliced(1);
  while (!text.empty() && text.back() == ' ') text.chop(1);
  int century = 20;
  if (text.size() == 19) {
    century = TwoDigits(text, 0);
    if (century < 0) return std::nullopt;
    text = text.sliced(2);
  } else if (text.size() != 17) {
    return std::nullopt;
  }
  // yy/mm/dd hh:nn:ss
  if (text[2] != '/' || text[5] != '/' || text[8] != ' ' || text[11] != ':' || text[14] != ':')
    return std::nullopt;
  const int yy = TwoDigits(text, 0), month = TwoDigits(text, 3), day = TwoDigits(text, 6);
  const int hour = TwoDigits(text, 9), minute = TwoDigits(text, 12), second = TwoDigits(text, 15);
  if (yy < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59)
    return std::nullopt;
  const int year = century * 100 + yy;
  if (day > DaysInMonth(year, month)) return std::nullopt;
  return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

}  // namespace solardesk
