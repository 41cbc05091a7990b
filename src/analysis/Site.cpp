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
  if (std::abs(site.latitude) > 90 || std::abs(site.longitude) > 180 ||
      site.elevation < kLowestElevation || site.elevation > kHighestElevation)
    return std::nullopt;
  return site;
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
