#include <QCoreApplication>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <memory>

#include "CliContext.h"
#include "Commands.h"
#include "SiteOptions.h"
#include "app/SimulateOption.h"
#include "core/WriteGate.h"

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
  text += QStringLiteral("\nSite options of stats and report:\n  %1\n")
              .arg(QString::fromLatin1(kSiteUsage));
  text += QStringLiteral(
      "\nExit status: 0 success; 1 meter not found, not answering, or the data asked for is not "
      "there; 2 usage error or bad scenario file.\n");
  return text;
}

// The command named by the first one or two arguments ("read", "logger list"); its name is
// taken out of `args`.
const Command* FindCommand(QStringList& args) {
  for (const Command& c : AllCommands()) {
    const QStringList words = QString::fromLatin1(c.name).split(' ');
    if (args.mid(0, words.size()) == words) {
      args.remove(0, words.size());
      return &c;
    }
  }
  return nullptr;
}

int Usage(const QString& message) {
  std::fprintf(stderr, "solardesk-cli: %s (see solardesk-cli --help)\n", qPrintable(message));
  return kUsage;
}

// The command the arguments name after the program's own options, if any: a command that paints
// pages needs the fonts of a GUI application (without a display).
bool PaintingCommand(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
    const QString option = args.takeFirst();
    if (option == QLatin1String("--vid") || option == QLatin1String("--pid") ||
        option == QLatin1String("--trace")) {
      if (!args.isEmpty()) args.removeFirst();
    }
  }
  const Command* command = args.isEmpty() ? nullptr : FindCommand(args);
  return command && command->paints;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> application;
  if (PaintingCommand(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the one line of an error: the GUI library's remarks on its
    // surroundings (no runtime folder, say) stay out of it.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "solardesk-cli: %s\n", qPrintable(text));
    });
    application = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationVersion(QStringLiteral(SOLARDESK_VERSION));
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
  const Command* command = FindCommand(args);
  if (!command) {
    // "logger" alone or with a sub-command it does not have: list the ones it has.
    QStringList usages;
    for (const Command& c : AllCommands()) {
      if (QString::fromLatin1(c.name).section(' ', 0, 0) == args.first())
        usages << QString::fromLatin1(c.usage);
    }
    if (usages.size() > 1)
      return Usage(QStringLiteral("usage: ") + usages.join(QStringLiteral(" | ")));
    return Usage(QStringLiteral("unknown command %1").arg(args.first()));
  }

  SystemClock clock;
  const ChosenBus chosen = ChooseBus(simulate, clock);
  if (!chosen.bus) return Usage(QStringLiteral("bad scenario: %1").arg(chosen.error));
  HidBackend& backend = *chosen.bus;
  CliContext cli(backend, clock);
  cli.link().vendorIdText = vid;
  cli.link().productIdText = pid;
  if (!trace.isEmpty() && !cli.StartTrace(trace))
    return Usage(QStringLiteral("cannot write the trace file %1").arg(trace));
  cli.SetUsage(QString::fromLatin1(command->usage));
  const int code = command->run(cli, args);
  cli.out().flush();
  cli.link().CloseHandles();
  FinishSyncsAtExit("solardesk-cli");
  return code;
}
