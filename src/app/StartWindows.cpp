#include "StartWindows.h"

#include "SolarDeskApp.h"
#include "panel/ui/WindowPlacement.h"

namespace solardesk {
namespace {

const QString kDiagnosticsOption = QStringLiteral("diagnostics");

}  // namespace

void AddStartWindowOptions(QCommandLineParser& parser) {
  parser.addOption(QCommandLineOption(
      kDiagnosticsOption,
      QStringLiteral("Open the diagnostics window (byte slots and reports of the meter link).")));
}

void ShowStartWindows(SolarDeskApp& program, const QCommandLineParser& parser) {
  // The main window opens where it was last, else where the window system puts it.
  RestoreWindowPlace(program.panel());
  program.panel().show();
  if (parser.isSet(kDiagnosticsOption)) program.panel().ShowDiagnostics();
}

}  // namespace solardesk
