#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace solardesk::station {

// The MQTT topics of one station's meter and the Home Assistant discovery message that
// announces it. Stations that differ in name or prefix share no topic, discovery topic or ID.
struct StationTopics {
  QString prefix;  // "solardesk" unless the URL names another
  QString name;    // the station's name as given (--name, else the host name)
  QString meter;   // the meter in topics: StationMeterName
  int intervalSeconds = 1;

  QString State() const { return Topic(QStringLiteral("state")); }
  // "online" while the station is connected; "offline" as its last will and when it stops.
  QString Availability() const { return Topic(QStringLiteral("availability")); }
  // "online" while the meter answers; "offline" while it is lost.
  QString MeterAvailability() const { return Topic(QStringLiteral("meter/availability")); }
  // The Home Assistant node: the meter made topic-safe and a short digest of the prefix and the
  // name.
  QString Node() const;
  QString Discovery() const {
    return QStringLiteral("homeassistant/sensor/") + Node() + QStringLiteral("/irradiance/config");
  }
  // Seconds after the last sample when Home Assistant no longer shows it: three intervals, at
  // least 30.
  int ExpireAfter() const;
  // The retained discovery config for a meter showing `unit` (the meter's unit text): an
  // irradiance sensor reading the value out of the state messages, available while both the
  // station and its meter are, on a device of its own named after the station.
  QByteArray DiscoveryConfig(const QString& unit) const;

 private:
  QString Topic(const QString& leaf) const {
    return prefix + QLatin1Char('/') + meter + QLatin1Char('/') + leaf;
  }
};

// A name usable as one topic level and as a Home Assistant object ID: letters, digits, "_" and
// "-" kept, every run of anything else made one "_", none at either end. "/dev/hidraw3" gives
// "dev_hidraw3"; a name with nothing left gives "meter".
QString TopicSafe(const QString& name);

// The meter's name in streams: its serial number when it reports one, "virtual" for the virtual
// meter, else its device path; made topic-safe.
QString MeterTopicName(const std::string& serialNumber, const std::string& devicePath);

// Whether `name` can name a station as given: letters A to Z and a to z, digits, "-", "_" and
// "." only, at least one. Such names are used in topics as they are, so that two of them never
// share a topic.
bool IsStationName(const QString& name);

// The meter's name in the topics of station `station` (a name IsStationName accepts, or one made
// topic-safe; anything else in it is made "_"): "NAME-SERIAL", or "NAME" alone when the meter
// reports no serial number. SERIAL is made topic-safe with its "-" made "_", so that the last "-"
// always parts NAME from SERIAL: "a-b" with "c" and "a" with "b-c" do not meet. Never a device
// path, which changes when the meter is plugged in again.
QString StationMeterName(const QString& station, const QString& serialNumber);

// The unit Home Assistant expects for an irradiance sensor in the meter's unit.
QString HomeAssistantUnit(const QString& unit);

}  // namespace solardesk::station
