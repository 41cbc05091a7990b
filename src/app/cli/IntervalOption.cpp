#include "IntervalOption.h"

#include <QRegularExpression>

#include "recording/logic/IntervalEntry.h"

namespace solardesk::cli {

std::optional<int> IntervalOption(CliContext& cli, const QString& text, int absent) {
  if (text.isEmpty()) return absent;
  const std::optional<int> seconds = IntervalFromEntry(text, kMaxPcInterval);
  if (!seconds) cli.Fail(QStringLiteral("\"%1\" is not a number of seconds").arg(text), kUsage);
  return seconds;
}

std::optional<int> WholeIntervalOption(CliContext& cli, const QString& text, int absent) {
  if (text.isEmpty()) return absent;
  static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
  const int seconds = digits.match(text).hasMatch() ? text.toInt() : 0;
  if (seconds < 1 || seconds > kMaxPcInterval) {
    cli.Fail(QStringLiteral("--interval \"%1\": a whole number of seconds from 1 to %2 is needed")
                 .arg(text)
                 .arg(kMaxPcInterval),
             kUsage);
    return std::nullopt;
  }
  return seconds;
}

}  // namespace solardesk::cli
