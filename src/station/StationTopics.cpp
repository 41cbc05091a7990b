#include "StationTopics.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include "panel/logic/DisplayDecode.h"

namespace solardesk::station {

namespace {

bool Alphanumeric(QChar c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool InStationName(QChar c) {
  return Alphanumeric(c) || c == '_' || c == '-' || c == '.';
}

}  // namespace

QString TopicSafe(const QString& name) {
  QString out;
  bool gap = false;
  for (const QChar c : name) {
    if (!Alphanumeric(c) && c != '_' && c != '-') {
      gap = true;
      continue;
    }
    if (gap && !out.isEmpty()) out += QLatin1Char('_');
    gap = false;
    out += c;
  }
  return out.isEmpty() ? QStringLiteral("meter") : out;
}

QString MeterTopicName(const std::string& serialNumber, const std::string& devicePath) {
  if (!serialNumber.empty()) return TopicSafe(QString::fromStdString(serialNumber));
  const QString path = QString::fromStdString(devicePath);
  if (path.startsWith(QLatin1String("virtual:"))) return QStringLiteral("virtual");
  return TopicSafe(path);
}

QString HomeAssistantUnit(const QString& unit) {
  if (unit == kUnitBtu) return QStringLiteral("BTU/(h⋅ft²)");
  return QStringLiteral("W/m²");
}

bool IsStationName(const QString& name) {
  return !name.isEmpty() && std::all_of(name.begin(), name.end(), InStationName);
}

QString StationMeterName(const QString& station, const QString& serialNumber) {
  QString name = station.isEmpty() ? QStringLiteral("meter") : station;
  for (QChar& c : name) {
    if (!InStationName(c)) c = QLatin1Char('_');
  }
  if (serialNumber.isEmpty()) return name;
  return name + QLatin1Char('-') + TopicSafe(QString(serialNumber).replace('-', '_'));
}

QString StationTopics::Node() const {
  // The prefix and the name are not spelled out but drawn on whole: "a/b" and "a_b", or the
  // stations "roof top" and "roof_top", stay apart though their topic-safe forms are alike.
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(prefix.toUtf8());
  hash.addData(QByteArrayView("\0", 1));
  hash.addData(name.toUtf8());
  const QByteArray digest = hash.result();
  return TopicSafe(meter) + QLatin1Char('_') + QString::fromLatin1(digest.toHex().left(8));
}

int StationTopics::ExpireAfter() const {
  return std::max(30, 3 * intervalSeconds);
}

QByteArray StationTopics::DiscoveryConfig(const QString& unit) const {
  const QString id = QStringLiteral("solardesk_") + Node();
  const auto available = [](const QString& topic) {
    return QJsonObject{
        {"topic", topic}, {"payload_available", "online"}, {"payload_not_available", "offline"}};
  };
  QJsonObject device{
      {"name", QStringLiteral("Solar power meter ") + name},
      {"manufacturer", "Generic"},
      {"model", "USB solar power meter"},
      {"identifiers", QJsonArray{id}},
  };
  QJsonObject config{
      {"name", "Irradiance"},
      {"device_class", "irradiance"},
      {"state_class", "measurement"},
      {"unit_of_measurement", HomeAssistantUnit(unit)},
      {"state_topic", State()},
      {"value_template", "{{ value_json.value }}"},
      {"availability", QJsonArray{available(Availability()), available(MeterAvailability())}},
      {"availability_mode", "all"},
      {"expire_after", ExpireAfter()},
      {"unique_id", id + QStringLiteral("_irradiance")},
      {"device", device},
  };
  return QJsonDocument(config).toJson(QJsonDocument::Compact);
}

}  // namespace solardesk::station
