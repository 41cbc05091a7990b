#pragma once

#include <QIcon>
#include <QString>

namespace solardesk {

// The toolbar's pictures, drawn by the program: one per button key ("Save", "Open", "Interval",
// "List", "Graph", "RTC", "Set", "Logger", "Erase"), plus "Stop" for the Save button while a
// file is being recorded, and "Print", "Print Preview", "Plot", "Limit" for the secondary windows.
QIcon ToolbarIcon(const QString& key);

}  // namespace solardesk
