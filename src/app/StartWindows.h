#pragma once

#include <QCommandLineParser>

namespace solardesk {

class SolarDeskApp;

// The options of `solardesk` that choose what shows at start: "--diagnostics" opens the
// diagnostics window of the meter link beside the main window.
void AddStartWindowOptions(QCommandLineParser& parser);

// Shows the main window, then whatever the parsed options ask for.
void ShowStartWindows(SolarDeskApp& program, const QCommandLineParser& parser);

}  // namespace solardesk
