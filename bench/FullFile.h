#pragma once

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "recording/logic/DataFileFormat.h"

namespace solardesk {

// A full recording, written once per run: the header and 345,600 record lines, one a second.
inline const QString& FullFile() {
  static QTemporaryDir dir;
  static const QString path = [] {
    const QString p = dir.filePath(QStringLiteral("full.pvd"));
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly)) std::abort();
    QByteArray bytes = HeaderText(QStringLiteral("W/(M)2")).toLatin1() + "\r\n";
    QDateTime t(QDate(2026, 12, 4), QTime(0, 0, 0));
    for (int i = 1; i <= kRecordsPerFile; ++i) {
      bytes += RecordText(static_cast<float>(i), SampleTimeText(t.addSecs(i)),
                          QString::number((i * 37) % 1200) + QStringLiteral(".5"))
                   .toLatin1();
      bytes += "\r\n";
    }
    f.write(bytes);
    return p;
  }();
  return path;
}

}  // namespace solardesk
