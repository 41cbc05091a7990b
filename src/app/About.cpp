#include "About.h"

#include <hidapi.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace solardesk {

QString AboutText() {
  return QStringLiteral(
             "SolarDesk %1\n"
             "The desktop companion of the handheld solar power meter.\n\n"
             "Qt %2, hidapi %3\n\n"
             "Licence: GPL-3.0-or-later. SolarDesk is free software: you can redistribute it "
             "and/or "
             "modify it under the terms of the GNU General Public License as published by the Free "
             "Software Foundation, either version 3 of the License, or (at your option) any later "
             "version. It links QCustomPlot, which is under the GPL version 3. It comes with NO "
             "WARRANTY; the licence text is in the file LICENSE.")
      .arg(QCoreApplication::applicationVersion(), QString::fromLatin1(qVersion()),
           QString::fromLatin1(hid_version_str()));
}

QString UserGuidePath() {
  const QDir program(QCoreApplication::applicationDirPath());
  for (const QString& candidate : {QStringLiteral("../share/doc/solardesk/user-guide.html"),
                                   QStringLiteral("user-guide.html")}) {
    const QFileInfo guide(program.filePath(candidate));
    if (guide.isFile()) return guide.canonicalFilePath();
  }
  return {};
}

}  // namespace solardesk
