#include "DisplayCommands.h"

#include <QThread>

#include "Arguments.h"
#include "link/Commands.h"

namespace solardesk::cli {

bool ReadDisplay(CliContext& cli) {
  if (!cli.Query(cmd::kQueryDisplay)) return false;
  if (!PublishDisplay(cli.link().InputReport(), cli.instrument().meter)) {
    cli.Fail(QStringLiteral("the meter's display answer is too short to read"));
    return false;
  }
  return true;
}

int RunRead(CliContext& cli, const QStringList& args) {
  if (!args.isEmpty()) return cli.Fail(QStringLiteral("read takes no arguments"), kUsage);
  if (!ReadDisplay(cli)) return kNoData;
  const PubMeter& m = cli.instrument().meter;
  cli.out() << m.ReadingText << '\t' << m.ReadingUnit << '\n';
  return kOk;
}

int RunWatch(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const auto count = a.Count(QStringLiteral("--count"));
  if (!a.Done() || !count) return cli.Fail(a.Error(QStringLiteral("watch [--count N]")), kUsage);
  if (!ReadDisplay(cli)) return kNoData;
  QString lastText, lastUnit;
  long long printed = 0;
  bool first = true;
  while (!CliContext::stopRequested) {
    const PubMeter& m = cli.instrument().meter;
    if (first || m.ReadingText != lastText || m.ReadingUnit != lastUnit) {
      cli.out() << cli.clock().now().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) << '\t'
                << m.ReadingText << '\t' << m.ReadingUnit << '\n';
      cli.out().flush();
      lastText = m.ReadingText;
      lastUnit = m.ReadingUnit;
      first = false;
      if (*count > 0 && ++printed >= *count) break;
    }
    QThread::msleep(100);
    // A lost meter freezes the reading, as on the main window; it is found again lazily.
    cli.instrument().PollTick();
  }
  return kOk;
}

}  // namespace solardesk::cli
