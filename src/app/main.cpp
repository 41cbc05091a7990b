#include <QApplication>
#include <QCommandLineParser>
#include <memory>

#include "QtDialogs.h"
#include "SolarDeskApp.h"
#include "link/HidApiBackend.h"
#include "sim/DemoMeter.h"

using namespace solardesk;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("solardesk"));
  QApplication::setApplicationVersion(QStringLiteral(SOLARDESK_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("SolarDesk: the desktop companion of the handheld solar power meter."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption simulate(QStringLiteral("simulate"),
                              QStringLiteral("Use the virtual meter instead of a real one."));
  parser.addOption(simulate);
  parser.process(app);

  SystemClock clock;
  std::unique_ptr<HidBackend> backend;
  if (parser.isSet(simulate)) {
    backend = sim::MakeDemoBus(clock);
  } else {
    backend = std::make_unique<HidApiBackend>();
  }
  QtDialogs dialogs;
  SolarDeskApp program(*backend, clock, dialogs);
  dialogs.setParent(&program.panel());
  program.panel().show();
  return app.exec();
}
