#include "SolarDeskApp.h"

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
void SolarDeskApp::WireKeys() {}

// Set-up chooser, schedules, calibration and the meter clock window ("Set", "RTC").
void SolarDeskApp::WireSetup() {}

// Recording on the PC, data files and list windows ("Save", "Open", "Interval", "List").
void SolarDeskApp::WireRecording() {
  recording_ = std::make_unique<RecordingWindows>(*instrument_, *panel_);
  RecordingWindows& r = *recording_;
  r.plot = [this](const std::vector<float>& series, int plotPointCount,
                  const QString& openedFileUnit) {
    if (plotSeries) plotSeries(series, plotPointCount, openedFileUnit);
  };
  panel_->setToolbarCommand(QStringLiteral("Save"), [&r] { r.Save(); });
  panel_->setToolbarCommand(QStringLiteral("Open"), [&r] { r.Open(); });
  panel_->setToolbarCommand(QStringLiteral("Interval"), [&r] { r.Interval(); });
  panel_->setToolbarCommand(QStringLiteral("List"), [&r] { r.List(); });
}

// The meter's data logger ("Logger", "Erase").
void SolarDeskApp::WireLogger() {}

// The live graph ("Graph") and the file plot.
void SolarDeskApp::WireGraphs() {}

}  // namespace solardesk
