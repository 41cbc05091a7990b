#include "DisplayCommands.h"

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

}  // namespace solardesk::cli
