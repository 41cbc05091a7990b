#pragma once

#include <QString>

namespace solardesk::loggertext {

// Messages of the logger commands, as the user sees them.
inline const QString kNoData = QStringLiteral("No Data in Memory!");
inline const QString kEraseWarning =
    QStringLiteral("All the Automatically Recorded data in memory will be deleted!");
inline const QString kWarningTitle = QStringLiteral("Warning");
inline const QString kMeterStopped =
    QStringLiteral("The meter stopped answering during the download.");
inline const QString kUnreadableSet = QStringLiteral("This record set holds no readable data.");

}  // namespace solardesk::loggertext
