#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "QtDialogs.h"
#include "SimulateOption.h"
#include "SolarDeskApp.h"
#include "link/HidApiBackend.h"
#include "sim/Scenario.h"

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
  parser.process(arguments);

  SystemClock clock;
  std::unique_ptr<HidBackend> backend;
  std::shared_ptr<sim::VirtualMeter> meter;  // kept alive with the bus
  if (simulate.simulate) {
    auto scenario = simulate.scenarioPath.isEmpty()
                        ? sim::LoadScenario("{}", clock)
                        : sim::LoadScenarioFile(simulate.scenarioPath, clock);
    if (!scenario.error.isEmpty()) {
      std::fprintf(stderr, "solardesk: %s\n", qPrintable(scenario.error));
      return 2;
    }
    backend = std::move(scenario.bus);
    meter = scenario.meter;
  } else {
    backend = std::make_unique<HidApiBackend>();
  }
  QtDialogs dialogs;
  SolarDeskApp program(*backend, clock, dialogs);
  dialogs.setParent(&program.panel());
  program.panel().show();
  return app.exec();
}
