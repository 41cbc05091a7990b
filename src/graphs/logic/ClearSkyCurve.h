#pragma once

#include <QString>
#include <optional>

#include "PlotRanges.h"
#include "analysis/EnergyUnit.h"
#include "analysis/Site.h"

namespace solardesk {

// The irradiance unit a plotted series reads in when the plot can set a clear sky beside it:
// "W/(M)2" or "Btu/(ft)2.h" (blanks around it do not count); nothing for any other unit text.
std::optional<IrradianceUnit> ClearSkyUnit(const QString& seriesUnit);

// The points a smooth clear-sky curve needs over a span of moments: one every five minutes,
// from 2 up to 20,000 (a longer span has its points further apart).
int ClearSkyPointCount(AxisRange utc);

// The clear-sky irradiance at a site over a visible range of moments (UTC seconds): `count`
// points evenly from one end to the other (at least two), in `unit`. Nothing for a range that
// is not a number or lies beyond the years a clock can name.
PlotPoints ClearSkyCurve(const Site& site, AxisRange utc, int count, IrradianceUnit unit);

}  // namespace solardesk
