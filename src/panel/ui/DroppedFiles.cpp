#include "DroppedFiles.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace solardesk {

QStringList DroppedDataFiles(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return {};
  QStringList paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    if (QFileInfo(path).suffix().compare(QLatin1String("pvd"), Qt::CaseInsensitive) != 0) return {};
    paths << path;
  }
  return paths;
}

}  // namespace solardesk
