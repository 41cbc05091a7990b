#include "RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace solardesk {
namespace {

const QString kKey = QStringLiteral("recentFiles");

QSettings Settings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
                   QStringLiteral("SolarDesk"));
}

}  // namespace

QStringList RecentFiles::Paths() const {
  QStringList paths = Settings().value(kKey).toStringList();
  paths.removeAll(QString());
  paths.removeDuplicates();
  return paths.mid(0, kMost);
}

void RecentFiles::Add(const QString& path) {
  if (path.isEmpty()) return;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList paths = Paths();
  paths.removeAll(absolute);
  paths.prepend(absolute);
  Store(paths.mid(0, kMost));
}

void RecentFiles::Remove(const QString& path) {
  QStringList paths = Paths();
  paths.removeAll(path);
  Store(paths);
}

void RecentFiles::Store(const QStringList& paths) {
  QSettings settings = Settings();
  settings.setValue(kKey, paths);
}

}  // namespace solardesk
