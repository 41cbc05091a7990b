#include "IntervalOption.h"

#include "recording/logic/IntervalEntry.h"

namespace solardesk::cli {

std::optional<int> IntervalOption(CliContext& cli, const QString& text, int absent) {
  if (text.isEmpty()) return absent;
  const std::optional<int> seconds = IntervalFromEntry(text, kMaxPcInterval);
  if (!seconds) cli.Fail(QStringLiteral("\"%1\" is not a number of seconds").arg(text), kUsage);
  return seconds;
}

}  // namespace solardesk::cli
