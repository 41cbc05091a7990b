#pragma once

#include <QString>

namespace solardesk {

// The meter reads irradiance in W/(M)2 or in Btu/(ft)2.h; integrated over time that is Wh/m2
// or Btu/ft2.
enum class IrradianceUnit { WattsPerSquareMetre, BtuPerSquareFootHour };

inline constexpr double kWhPerSquareMetrePerBtuPerSquareFoot = 3.15459;

// The unit of a header's unit field (blanks around it do not count): Btu/(ft)2.h or, for
// anything else, W/(M)2.
IrradianceUnit UnitOfText(const QString& unitText);

// "Wh/m2" or "Btu/ft2".
QString EnergyUnitText(IrradianceUnit unit);

// An irradiance in W/m2 expressed in `unit`.
double FromWattsPerSquareMetre(double irradiance, IrradianceUnit unit);

// Peak sun hours: the energy in kWh/m2 (one hour of 1000 W/m2 per kWh/m2).
double PeakSunHours(double energy, IrradianceUnit unit);

}  // namespace solardesk
