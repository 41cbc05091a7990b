#include "MqttUrl.h"

#include <QRegularExpression>
#include <QUrl>

namespace solardesk::station {

std::optional<MqttUrl> ParseMqttUrl(const QString& text, QString* error) {
  const auto fail = [error](const QString& why) {
    if (error) *error = why;
    return std::nullopt;
  };
  // The port is looked at first, so that "host:0" and "host:70000" are named for what they are.
  static const QRegularExpression portPart(
      QStringLiteral("^[A-Za-z]+://[^/?#]*:([^/?#:@\\]]+)(?:[/?#]|$)"));
  const QRegularExpressionMatch port = portPart.match(text);
  if (port.hasMatch()) {
    bool number = false;
    const int value = port.captured(1).toInt(&number);
    if (!number || value < 1 || value > 65535)
      return fail(QStringLiteral("the port must be 1 to 65535, not %1").arg(port.captured(1)));
  }
  const QUrl url(text, QUrl::StrictMode);
  if (!url.isValid()) return fail(QStringLiteral("not a URL: %1").arg(text));
  MqttUrl out;
  if (url.scheme() == QLatin1String("mqtts")) {
    out.tls = true;
    out.port = 8883;
  } else if (url.scheme() != QLatin1String("mqtt")) {
    return fail(QStringLiteral("the URL must begin with mqtt:// or mqtts://"));
  }
  if (!url.password().isEmpty())
    return fail(QStringLiteral("no password in the URL: set SOLARDESK_MQTT_PASSWORD instead"));
  if (url.host().isEmpty()) return fail(QStringLiteral("the URL names no host"));
  out.user = url.userName();
  out.host = url.host();
  out.port = url.port(out.port);
  QString prefix = url.path();
  while (prefix.startsWith(QLatin1Char('/'))) prefix.remove(0, 1);
  while (prefix.endsWith(QLatin1Char('/'))) prefix.chop(1);
  if (prefix.contains(QLatin1Char('+')) || url.hasFragment() || url.hasQuery())
    return fail(QStringLiteral("the topic prefix may not hold +, # or ?"));
  if (!prefix.isEmpty()) out.prefix = prefix;
  return out;
}

}  // namespace solardesk::station
