#include "SolarDeskApp.h"

#include "logger/ui/LoggerCommands.h"
#include "panel/ui/KeyBinder.h"
#include "setup/ui/SetupArea.h"

namespace solardesk {

SolarDeskApp::SolarDeskApp(HidBackend& backend, Clock& clock, Dialogs& dialogs)
    : instrument_(std::make_unique<Instrument>(backend, clock, dialogs)),
      panel_(std::make_unique<PanelWindow>(*instrument_)) {
  WireKeys();
  WireSetup();
  WireRecording();
  WireLogger();
  WireGraphs();
}

SolarDeskApp::~SolarDeskApp() = default;

// Front-panel keys: presses on the meter picture send the meter's key codes.
void SolarDeskApp::WireKeys() {
  keys_ = std::make_unique<KeyBinder>(*panel_->face, *instrument_);
}

// Set-up chooser, schedules, calibration and the meter clock window ("Set", "RTC").
void SolarDeskApp::WireSetup() {
  setup_ = std::make_unique<SetupArea>(*panel_, *instrument_);
  SetupArea* setup = setup_.get();
  panel_->setToolbarCommand(QStringLiteral("Set"), [setup] { setup->ToggleChooser(); });
  panel_->setToolbarCommand(QStringLiteral("RTC"), [setup] { setup->OpenClockWindow(); });
}

// Recording on the PC, data files and list windows ("Save", "Open", "Interval", "List").
void SolarDeskApp::WireRecording() {}

// The meter's data logger ("Logger", "Erase").
void SolarDeskApp::WireLogger() {
  logger_ =
      std::make_unique<LoggerCommands>(*instrument_, *panel_, [this] { return dataListSink; });
  // While a set downloads, no key or toolbar command may reach the meter.
  logger_->onDownloadRunning = [this](bool running) {
    panel_->face->setEnabled(!running);
    panel_->Toolbar1->setEnabled(!running);
  };
  panel_->setToolbarCommand(QStringLiteral("Logger"), [this] { logger_->Logger(); });
  panel_->setToolbarCommand(QStringLiteral("Erase"), [this] { logger_->Erase(); });
}

// The live graph ("Graph") and the file plot.
void SolarDeskApp::WireGraphs() {}

}  // namespace solardesk
