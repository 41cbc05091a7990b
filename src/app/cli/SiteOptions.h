#pragma once

#include <QString>
#include <optional>

#include "Arguments.h"
#include "analysis/StatisticsReport.h"

namespace solardesk::cli {

// The options that say where and how the readings were taken, shared by the commands that read
// them against the clear sky:
//   --site LAT,LON[,ELEV]  --tilt DEG  --azimuth DEG  --albedo A
//   --model haurwitz|ineichen  --linke T  --transposition isotropic|haydavies|perez  --tz ZONE
// Without --model, a tilt other than 0 or a --linke chooses Ineichen, Haurwitz is taken
// otherwise. --tz names the IANA time zone the file's wall-clock times were taken in; without it
// the system's.
inline constexpr const char* kSiteUsage =
    "[--site LAT,LON[,ELEV]] [--tilt DEG] [--azimuth DEG] [--albedo A] "
    "[--model haurwitz|ineichen] [--linke T] [--transposition isotropic|haydavies|perez] "
    "[--tz ZONE]";

// The site options taken out of `a`; a --tz given is taken into use at once (UseTimeZone). Nothing,
// with `error` saying which value is wrong and why, when one is out of its range, no number or no
// name the option knows, or the options do not go together (orientation without --site, Haurwitz
// for a tilted sensor, --linke or --transposition with --model haurwitz): a usage error.
std::optional<SiteAssumptions> TakeSiteOptions(Arguments& a, QString* error);

// Reads wall-clock times in `zone` from now on (the TZ of this process): the files of a station
// that recorded elsewhere.
void UseTimeZone(const QString& zone);

}  // namespace solardesk::cli
