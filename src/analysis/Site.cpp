#include "Site.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace solardesk {
namespace {

std::optional<double> Number(const std::string& text, std::size_t begin, std::size_t end) {
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin < end && text[begin] == '+') ++begin;
  double v = 0;
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  const auto [ptr, ec] = std::from_chars(first, last, v);
  if (first == last || ec != std::errc() || ptr != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

void AppendNumber(std::string& out, double v) {
  char buffer[32];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  if (ec == std::errc()) out.append(buffer, ptr);
}

}  // namespace

std::optional<Site> ParseSite(QStringView text) {
  std::string s = text.toString().replace(QLatin1Char('\t'), QLatin1Char(' ')).toStdString();
  std::vector<double> fields;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t comma = std::min(s.find(',', begin), s.size());
    const std::optional<double> v = Number(s, begin, comma);
    if (!v || fields.size() == 3) return std::nullopt;
    fields.push_back(*v);
    if (comma == s.size()) break;
    begin = comma + 1;
  }
  if (fields.size() < 2) return std::nullopt;
  Site site{fields[0], fields[1], fields.size() > 2 ? fields[2] : 0.0};
  if (!kLatitudeRange.Holds(site.latitude) || !kLongitudeRange.Holds(site.longitude) ||
      !kElevationRange.Holds(site.elevation))
    return std::nullopt;
  return site;
}

std::optional<double> ParseSiteValue(QStringView text, const SiteRange& range) {
  const std::string s = text.toString().replace(QLatin1Char('\t'), QLatin1Char(' ')).toStdString();
  const std::optional<double> v = Number(s, 0, s.size());
  if (!v || !range.Holds(*v)) return std::nullopt;
  return v;
}

QString SiteValueError(QStringView text, const SiteRange& range) {
  const QString given = text.trimmed().toString();
  const std::string g = given.toStdString();
  if (!Number(g, 0, g.size()))
    return QStringLiteral("%1 \"%2\" is not a number").arg(QLatin1String(range.name), given);
  std::string low, high;
  AppendNumber(low, range.lowest);
  AppendNumber(high, range.highest);
  return QStringLiteral("%1 %2 is not within %3 to %4")
      .arg(QLatin1String(range.name), given, QString::fromStdString(low),
           QString::fromStdString(high));
}

QString SiteText(const Site& site) {
  std::string out;
  AppendNumber(out, site.latitude);
  out += ',';
  AppendNumber(out, site.longitude);
  if (site.elevation != 0) {
    out += ',';
    AppendNumber(out, site.elevation);
  }
  return QString::fromStdString(out);
}

}  // namespace solardesk
