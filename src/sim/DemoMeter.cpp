#include "DemoMeter.h"

#include <QString>
#include <cmath>

namespace solardesk::sim {

std::shared_ptr<VirtualMeter> MakeDemoMeter(const Clock& clock) {
  auto meter = std::make_shared<VirtualMeter>(clock);
  // Three days of the logger, one set a day, sampled every 60 s around noon.
  const QDate today = clock.now().date();
  for (int day = 3; day >= 1; --day) {
    const QDateTime start(today.addDays(-day), QTime(10, 0, 0));
    std::vector<QString> readings;
    for (int i = 0; i < 120; ++i) {
      const double w = VirtualMeter::SunlightAt(start.addSecs(60 * i));
      readings.push_back(QString::number(w, 'f', 1).rightJustified(5, QLatin1Char(' ')).left(5));
    }
    meter->AddSet(start.toString(QStringLiteral("yy/MM/dd hh:mm:ss")), QStringLiteral("000000060"),
                  QStringLiteral("W/m2     "), readings);
  }
  return meter;
}

std::unique_ptr<VirtualHidBackend> MakeDemoBus(const Clock& clock) {
  auto bus = std::make_unique<VirtualHidBackend>();
  bus->AddPort(MakeDemoMeter(clock), "virtual:meter");
  return bus;
}

}  // namespace solardesk::sim
