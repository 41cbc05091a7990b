#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "core/IsoTime.h"

namespace solardesk::station {

// Where the station says what happens to it (started, meter lost and found, file opened, broker
// lost and found, samples dropped): one line per event. May be called from any thread.
using EventSink = std::function<void(const QString& text)>;

// "2026-12-06T10:00:01+01:00 meter lost: unplugged", the form of every event line.
QString EventLine(const QDateTime& t, const QString& text);

// Writes event lines to standard error, one whole line at a time, stamped with `now()`.
EventSink StandardErrorEvents(std::function<QDateTime()> now);

}  // namespace solardesk::station
