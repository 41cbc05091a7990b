#pragma once

#include <QByteArray>
#include <QFile>

namespace solardesk {

// Kilobytes of a /proc/self/status field ("VmRSS", "VmHWM"); -1 where it cannot be read.
inline long StatusKb(const char* field) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(line.indexOf(':') + 1).trimmed().split(' ')[0].toLong();
  return -1;
}

}  // namespace solardesk
