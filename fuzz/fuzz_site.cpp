#include <cmath>
#include <cstddef>
#include <cstdint>

#include "analysis/Site.h"

using namespace solardesk;

// Any bytes as the site text of the "Site..." dialog or `stats --site`: a site taken from them
// lies on the globe (latitude within ±90, longitude within ±180, a finite elevation in range),
// came from two or three fields, and its text reads back as the same site.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto site = ParseSite(text);
  if (!site) return 0;
  if (!std::isfinite(site->latitude) || !std::isfinite(site->longitude) ||
      std::abs(site->latitude) > 90 || std::abs(site->longitude) > 180 ||
      !(site->elevation >= kLowestElevation && site->elevation <= kHighestElevation))
    __builtin_trap();
  const qsizetype commas = text.count(QLatin1Char(','));
  if (commas < 1 || commas > 2) __builtin_trap();
  if (ParseSite(SiteText(*site)) != site) __builtin_trap();
  return 0;
}
