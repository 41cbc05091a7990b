#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "QtDialogs.h"
#include "SimulateOption.h"
#include "SolarDeskApp.h"
#include "StartWindows.h"
#include "core/WriteGate.h"
#include "panel/ui/WindowPlacement.h"

using namespace solardesk;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("solardesk"));
  QApplication::setApplicationVersion(QStringLiteral(SOLARDESK_VERSION));

  QStringList arguments = QApplication::arguments();
  const SimulateOption simulate = TakeSimulateOption(arguments);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "SolarDesk: the desktop companion of the handheld solar power meter.\n\n"
      "  --simulate[=SCENARIO.json]  Run on the virtual meter, described by the scenario file\n"
      "                              when one is given."));
  parser.addHelpOption();
  parser.addVersionOption();
  AddStartWindowOptions(parser);
  parser.process(arguments);

  SystemClock clock;
  const ChosenBus chosen = ChooseBus(simulate, clock);
  if (!chosen.bus) {
    std::fprintf(stderr, "solardesk: %s\n", qPrintable(chosen.error));
    return 2;
  }
  HidBackend& backend = *chosen.bus;
  RememberWindowPlaces(true);
  int code = 0;
  {
    QtDialogs dialogs;
    SolarDeskApp program(backend, clock, dialogs);
    dialogs.setParent(&program.panel());
    program.panel().SetVirtualMeter(chosen.meter != nullptr);
    ShowStartWindows(program, parser);
    code = app.exec();
  }
  // The files are closed; their last syncs may still run, and a stuck disk cannot hold us.
  FinishSyncsAtExit("solardesk");
  return code;
}
