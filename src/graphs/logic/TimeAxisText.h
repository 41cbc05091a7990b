#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace solardesk {

// The UTC offset of the wall clock at a moment (UTC seconds), as LocalTimeline takes it.
using UtcOffsetAt = int (*)(qint64 utc);

// A wall clock that is UTC itself: keys that already count wall-clock seconds.
int NoUtcOffset(qint64 utc);

// How the labels of a time axis read.
enum class TimeLabelForm {
  Seconds,  // "hh:nn:ss"
  Minutes,  // "hh:nn"
  Days,     // "YYYY/MM/DD"
};

// The distance between two ticks of a time axis and how they read.
struct TimeStep {
  qint64 seconds = 1;
  TimeLabelForm form = TimeLabelForm::Seconds;
};

// The step for a visible span of `spanSeconds`: the shortest round step (1, 2, 5, 10, 15, 30
// seconds; the same in minutes; 1, 2, 3, 6, 12 hours; 1, 2, 7, 14 days, then whole months of
// 30 days) that gives at most `maxTicks` ticks.
TimeStep TimeStepFor(double spanSeconds, int maxTicks);

struct TimeTick {
  double at = 0;  // UTC seconds
  QString label;
};

// The ticks of a time axis from `from` to `to` (UTC seconds): at round times of the wall clock
// that `offsetAt` describes, so that after a daylight-saving change the ticks still fall on
// whole hours of the local time. The first tick and every tick on a new day carry the date on
// a second line ("08:00\n2026/03/29"); a time the spring change skipped gets no tick, and
// the hour the autumn change repeats is ticked once.
std::vector<TimeTick> TimeTicks(double from, double to, int maxTicks, UtcOffsetAt offsetAt);

// "YYYY/MM/DD hh:nn:ss" of a moment on the wall clock that `offsetAt` describes; the empty
// text for a moment that is not a number.
QString TimeText(double utc, UtcOffsetAt offsetAt);
// "hh:nn:ss" of the same.
QString TimeOfDayText(double utc, UtcOffsetAt offsetAt);

// A typed "YYYY/MM/DD hh:nn:ss" (blanks around it allowed) as a moment: the wall-clock time
// turned into UTC seconds by the shared time conversion. Nothing for any other text or a time
// that the spring change skipped.
std::optional<double> ParseTimeText(const QString& text, UtcOffsetAt offsetAt);

}  // namespace solardesk
