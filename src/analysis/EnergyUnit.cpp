#include "EnergyUnit.h"

namespace solardesk {

IrradianceUnit UnitOfText(const QString& unitText) {
  return unitText.trimmed().startsWith(QLatin1String("Btu")) ? IrradianceUnit::BtuPerSquareFootHour
                                                             : IrradianceUnit::WattsPerSquareMetre;
}

QString EnergyUnitText(IrradianceUnit unit) {
  return unit == IrradianceUnit::BtuPerSquareFootHour ? QStringLiteral("Btu/ft2")
                                                      : QStringLiteral("Wh/m2");
}

double FromWattsPerSquareMetre(double irradiance, IrradianceUnit unit) {
  return unit == IrradianceUnit::BtuPerSquareFootHour
             ? irradiance / kWhPerSquareMetrePerBtuPerSquareFoot
             : irradiance;
}

double PeakSunHours(double energy, IrradianceUnit unit) {
  const double whPerSquareMetre = unit == IrradianceUnit::BtuPerSquareFootHour
                                      ? energy * kWhPerSquareMetrePerBtuPerSquareFoot
                                      : energy;
  return whPerSquareMetre / 1000;
}

}  // namespace solardesk
