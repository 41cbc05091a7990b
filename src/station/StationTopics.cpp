#include "StationTopics.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "panel/logic/DisplayDecode.h"

namespace solardesk::station {

QString TopicSafe(const QString& name) {
  QString out;
  bool gap = false;
  for (const QChar c : name) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
    if (!keep) {
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

QByteArray StationTopics::DiscoveryConfig(const QString& unit) const {
  const QString id = QStringLiteral("solardesk_") + meter;
  QJsonObject device{
      {"name", "Solar power meter"},
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
      {"availability_topic", Availability()},
      {"payload_available", "online"},
      {"payload_not_available", "offline"},
      {"unique_id", id + QStringLiteral("_irradiance")},
      {"device", device},
  };
  return QJsonDocument(config).toJson(QJsonDocument::Compact);
}

}  // namespace solardesk::station
