#include "TimeAxisText.h"

#include <array>
#include <cmath>

#include "data/LocalTimeline.h"
#include "data/SampleTime.h"

namespace solardesk {
namespace {

constexpr qint64 kMinute = 60;
constexpr qint64 kHour = 3600;
constexpr qint64 kMonth = 30 * kSecondsPerDay;

constexpr std::array<qint64, 22> kSteps = {1,
                                           2,
                                           5,
                                           10,
                                           15,
                                           30,
                                           kMinute,
                                           2 * kMinute,
                                           5 * kMinute,
                                           10 * kMinute,
                                           15 * kMinute,
                                           30 * kMinute,
                                           kHour,
                                           2 * kHour,
                                           3 * kHour,
                                           6 * kHour,
                                           12 * kHour,
                                           kSecondsPerDay,
                                           2 * kSecondsPerDay,
                                           7 * kSecondsPerDay,
                                           14 * kSecondsPerDay,
                                           kMonth};

// The one largest step that still stops a loop over ticks: about 3000 years.
constexpr double kLongestSpan = 1e11;

TimeLabelForm FormOf(qint64 step) {
  if (step < kMinute) return TimeLabelForm::Seconds;
  if (step < kSecondsPerDay) return TimeLabelForm::Minutes;
  return TimeLabelForm::Days;
}

qint64 FloorDiv(qint64 a, qint64 b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

QString TwoDigits(qint64 v) {
  return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

QString ClockText(qint64 localSeconds, bool withSeconds) {
  const qint64 s = localSeconds - DayOf(localSeconds) * kSecondsPerDay;
  QString text = TwoDigits(s / kHour) + QLatin1Char(':') + TwoDigits(s / kMinute % 60);
  if (withSeconds) text += QLatin1Char(':') + TwoDigits(s % 60);
  return text;
}

QString SlashDate(qint64 day) {
  return DateText(day).replace(QLatin1Char('-'), QLatin1Char('/'));
}

// The UTC moment of a wall-clock time: its first pass when the autumn change repeats it, and
// nothing when the spring change skipped it.
std::optional<qint64> UtcOfLocal(qint64 local, UtcOffsetAt offsetAt) {
  for (const qint64 probe : {local - 14 * kHour, local + 14 * kHour}) {
    const qint64 utc = local - offsetAt(probe);
    if (utc + offsetAt(utc) == local) return utc;
  }
  return std::nullopt;
}

}  // namespace

int NoUtcOffset(qint64) {
  return 0;
}

TimeStep TimeStepFor(double spanSeconds, int maxTicks) {
  const double span =
      std::isfinite(spanSeconds) ? std::min(std::abs(spanSeconds), kLongestSpan) : 0.0;
  const double ticks = std::max(maxTicks, 1);
  for (const qint64 step : kSteps)
    if (span / static_cast<double>(step) <= ticks) return {step, FormOf(step)};
  const auto months = static_cast<qint64>(std::ceil(span / ticks / static_cast<double>(kMonth)));
  return {months * kMonth, TimeLabelForm::Days};
}

std::vector<TimeTick> TimeTicks(double from, double to, int maxTicks, UtcOffsetAt offsetAt) {
  std::vector<TimeTick> ticks;
  if (!std::isfinite(from) || !std::isfinite(to)) return ticks;
  if (from > to) std::swap(from, to);
  if (to - from > kLongestSpan) return ticks;
  const TimeStep step = TimeStepFor(to - from, maxTicks);
  const auto first = static_cast<qint64>(std::floor(from));
  const qint64 localFirst = first + offsetAt(first);
  // One step more on each side than the span needs: a change of the clock moves ticks by an
  // hour at most.
  qint64 local = (FloorDiv(localFirst, step.seconds) - 1) * step.seconds;
  std::optional<qint64> previousDay;
  const qint64 end = static_cast<qint64>(std::ceil(to)) + kHour + step.seconds;
  for (int guard = 0; guard < 4 * std::max(maxTicks, 1) + 8 && local - 14 * kHour <= end;
       ++guard, local += step.seconds) {
    const std::optional<qint64> utc = UtcOfLocal(local, offsetAt);
    if (!utc || *utc < from || *utc > to) continue;
    if (!ticks.empty() && *utc <= ticks.back().at) continue;
    const qint64 day = DayOf(local);
    QString label;
    if (step.form == TimeLabelForm::Days) {
      label = SlashDate(day);
    } else {
      label = ClockText(local, step.form == TimeLabelForm::Seconds);
      if (previousDay != day) label += QLatin1Char('\n') + SlashDate(day);
    }
    previousDay = day;
    ticks.push_back({static_cast<double>(*utc), label});
  }
  return ticks;
}

QString TimeText(double utc, UtcOffsetAt offsetAt) {
  if (!std::isfinite(utc) || std::abs(utc) > kLongestSpan) return {};
  const auto seconds = static_cast<qint64>(std::llround(utc));
  const qint64 local = seconds + offsetAt(seconds);
  return SlashDate(DayOf(local)) + QLatin1Char(' ') + ClockText(local, true);
}

QString TimeOfDayText(double utc, UtcOffsetAt offsetAt) {
  const QString text = TimeText(utc, offsetAt);
  return text.isEmpty() ? text : text.sliced(11);
}

std::optional<double> ParseTimeText(const QString& text, UtcOffsetAt offsetAt) {
  const QByteArray latin = text.trimmed().toLatin1();
  // Only the four-figure year: a two-figure one would read as another time.
  if (latin.size() != 19) return std::nullopt;
  const std::optional<qint64> local = ParseSampleTime(latin);
  if (!local) return std::nullopt;
  LocalTimeline timeline(offsetAt);
  const std::optional<Instant> at = timeline.Next(*local);
  if (!at) return std::nullopt;
  return static_cast<double>(at->utc);
}

}  // namespace solardesk
