#pragma once

#include <QString>
#include <optional>

namespace solardesk::station {

// Where the station publishes: "mqtt://[USER@]HOST[:PORT][/PREFIX]", or "mqtts://" for TLS.
struct MqttUrl {
  bool tls = false;
  QString user;  // empty: no user name
  QString host;
  int port = 1883;
  QString prefix = QStringLiteral("solardesk");
};

// How to reach the broker: where, and with what password and CA certificates.
struct BrokerAccess {
  MqttUrl url;
  QString password;  // empty: none
  QString caFile;    // for mqtts: a CA file instead of the system's CA store
};

// The URL taken apart, or nothing with the reason in `error`. A password in the URL is refused:
// it would show in the process list; it comes from SOLARDESK_MQTT_PASSWORD instead.
std::optional<MqttUrl> ParseMqttUrl(const QString& text, QString* error);

}  // namespace solardesk::station
