#include "EventLog.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace solardesk::station {

QString EventLine(const QDateTime& t, const QString& text) {
  return IsoTimeText(t) + QLatin1Char(' ') + text;
}

EventSink StandardErrorEvents(std::function<QDateTime()> now) {
  return [now = std::move(now)](const QString& text) {
    static std::mutex mutex;
    const QByteArray line = (EventLine(now(), text) + QLatin1Char('\n')).toUtf8();
    const std::lock_guard<std::mutex> lock(mutex);
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
  };
}

}  // namespace solardesk::station
