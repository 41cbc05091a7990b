#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <memory>

#include "CliContext.h"
#include "Commands.h"
#include "app/SimulateOption.h"
#include "link/HidApiBackend.h"
#include "sim/Scenario.h"

using namespace solardesk;
using namespace solardesk::cli;

namespace {

void RequestStop(int) {
  CliContext::stopRequested = true;
}

QString Help() {
  QString text = QStringLiteral(
      "Usage: solardesk-cli [--simulate[=SCENARIO.json]] [--vid HEX] [--pid HEX] [--trace FILE] "
      "COMMAND [ARGS]\n\n"
      "The headless companion of the handheld solar power meter.\n\n"
      "Options:\n"
      "  --simulate[=FILE]  use the virtual meter, described by the scenario file when given\n"
      "  --vid HEX          vendor ID of the meter (default 483)\n"
      "  --pid HEX          product ID of the meter (default 5750)\n"
      "  --trace FILE       append every report written and read to FILE\n"
      "  --help, --version\n\n"
      "Commands:\n");
  for (const Command& c : AllCommands())
    text += QStringLiteral("  %1\n").arg(QString::fromLatin1(c.usage));
  text += QStringLiteral(
      "\nExit status: 0 success; 1 meter not found, not answering, or the data asked for is not "
      "there; 2 usage error or bad scenario file.\n");
  return text;
}

int Usage(const QString& message) {
  std::fprintf(stderr, "solardesk-cli: %s (see solardesk-cli --help)\n", qPrintable(message));
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  QStringList args = QCoreApplication::arguments();
  const SimulateOption simulate = TakeSimulateOption(args);
  args.removeFirst();
  QString vid = QStringLiteral("483"), pid = QStringLiteral("5750"), trace;
  while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
    const QString option = args.takeFirst();
    if (option == QLatin1String("--help")) {
      std::fputs(qPrintable(Help()), stdout);
      return kOk;
    }
    if (option == QLatin1String("--version")) {
      std::printf("solardesk-cli %s\n", SOLARDESK_VERSION);
      return kOk;
    }
    if (option != QLatin1String("--vid") && option != QLatin1String("--pid") &&
        option != QLatin1String("--trace"))
      return Usage(QStringLiteral("unknown option %1").arg(option));
    if (args.isEmpty()) return Usage(QStringLiteral("%1 needs a value").arg(option));
    const QString value = args.takeFirst();
    if (option == QLatin1String("--vid")) vid = value;
    if (option == QLatin1String("--pid")) pid = value;
    if (option == QLatin1String("--trace")) trace = value;
  }
  if (args.isEmpty()) return Usage(QStringLiteral("no command given"));
  const QString name = args.takeFirst();
  const Command* command = nullptr;
  for (const Command& c : AllCommands()) {
    if (name == QLatin1String(c.name)) command = &c;
  }
  if (!command) return Usage(QStringLiteral("unknown command %1").arg(name));

  SystemClock clock;
  std::unique_ptr<HidBackend> backend;
  std::shared_ptr<sim::VirtualMeter> meter;  // kept alive with the bus
  if (simulate.simulate) {
    auto scenario = simulate.scenarioPath.isEmpty()
                        ? sim::LoadScenario("{}", clock)
                        : sim::LoadScenarioFile(simulate.scenarioPath, clock);
    if (!scenario.error.isEmpty())
      return Usage(QStringLiteral("bad scenario: %1").arg(scenario.error));
    backend = std::move(scenario.bus);
    meter = scenario.meter;
  } else {
    backend = std::make_unique<HidApiBackend>();
  }
  CliContext cli(*backend, clock);
  cli.link().vendorIdText = vid;
  cli.link().productIdText = pid;
  if (!trace.isEmpty() && !cli.StartTrace(trace))
    return Usage(QStringLiteral("cannot write the trace file %1").arg(trace));
  const int code = command->run(cli, args);
  cli.out().flush();
  cli.link().CloseHandles();
  return code;
}
