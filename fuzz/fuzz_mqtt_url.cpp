#include <cstddef>
#include <cstdint>

#include "station/MqttUrl.h"

using namespace solardesk::station;

// Any bytes as the station's --mqtt URL: it is refused with a reason, or taken apart into a
// host, a port from 1 to 65535 and a topic prefix that is neither empty nor holds a wildcard
// or a leading or trailing "/".
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  const auto url = ParseMqttUrl(text, &error);
  if (!url) {
    if (error.isEmpty()) __builtin_trap();
    return 0;
  }
  if (!error.isEmpty() || url->host.isEmpty() || url->port < 1 || url->port > 65535)
    __builtin_trap();
  const QString& prefix = url->prefix;
  if (prefix.isEmpty() || prefix.contains(QLatin1Char('+')) || prefix.contains(QLatin1Char('#')) ||
      prefix.startsWith(QLatin1Char('/')) || prefix.endsWith(QLatin1Char('/')))
    __builtin_trap();
  if (!text.startsWith(url->tls ? QLatin1String("mqtts://") : QLatin1String("mqtt://"),
                       Qt::CaseInsensitive))
    __builtin_trap();
  return 0;
}
