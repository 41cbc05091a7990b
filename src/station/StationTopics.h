#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace solardesk::station {

// The MQTT topics of one meter and the Home Assistant discovery message that announces it.
struct StationTopics {
  QString prefix;  // "solardesk" unless the URL names another
  QString meter;   // topic-safe name of the meter

  QString State() const { return prefix + QStringLiteral("/") + meter + QStringLiteral("/state"); }
  QString Availability() const {
    return prefix + QStringLiteral("/") + meter + QStringLiteral("/availability");
  }
  QString Discovery() const {
    return QStringLiteral("homeassistant/sensor/") + meter + QStringLiteral("/irradiance/config");
  }
  // The retained discovery config for a meter showing `unit` (the meter's unit text): an
  // irradiance sensor reading the value out of the state messages, available while the
  // availability topic says "online", on a device of its own.
  QByteArray DiscoveryConfig(const QString& unit) const;
};

// A name usable as one topic level and as a Home Assistant object ID: letters, digits, "_" and
// "-" kept, every run of anything else made one "_", none at either end. "/dev/hidraw3" gives
// "dev_hidraw3"; a name with nothing left gives "meter".
QString TopicSafe(const QString& name);

// The meter's name in topics and streams: its serial number when it reports one, "virtual" for
// the virtual meter, else its device path; made topic-safe.
QString MeterTopicName(const std::string& serialNumber, const std::string& devicePath);

// The unit Home Assistant expects for an irradiance sensor in the meter's unit.
QString HomeAssistantUnit(const QString& unit);

}  // namespace solardesk::station
