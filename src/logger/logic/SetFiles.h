#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace solardesk {

// The records a set of `setLength` bytes holds, as far as its length tells before a download:
// records lie 9 bytes apart from position 207, the last at least 40 positions before the end.
int AnnouncedRecordCount(std::uint32_t setLength);

// The interval of a downloaded set as the Data Logger shows it: "60 s", "0.5 s".
QString IntervalText(double seconds);

// The file names of "Download all...", one per set in order, from the sets' start texts
// ("yy/mm/dd hh:nn:ss" with a two-digit year): "YYYY-MM-DD_hhmmss.pvd". Characters from the
// meter that cannot stand in a file name become "_"; a name given before gets "-2", "-3", ...
QStringList SetFileNames(const QStringList& startTexts);

}  // namespace solardesk
