#include <gtest/gtest.h>

#include "analysis/Site.h"
#include "support/CommaDecimalLocale.h"

namespace solardesk::testing {
namespace {

TEST(Site, ParsedUnderEveryLocaleAndWrittenBack) {
  // Under a locale that writes decimal commas the text still takes points.
  const CommaDecimalLocale german;
  REQUIRE_COMMA_DECIMAL(german);
  const struct {
    const char* text;
    std::optional<Site> site;
  } cases[] = {
      {"39.742476,-105.1786,1830.14", Site{39.742476, -105.1786, 1830.14}},
      {" 39.742476 , -105.1786 ", Site{39.742476, -105.1786, 0}},
      {"-90,180", Site{-90, 180, 0}},
      {"+52.5,13.4,-400", Site{52.5, 13.4, -400}},
      {"52,5,13,4", std::nullopt},  // decimal commas: four fields
      {"52,5", Site{52, 5, 0}},
      {"90.0001,0", std::nullopt},
      {"0,-180.5", std::nullopt},
      {"0,0,9500", std::nullopt},
      {"52.5", std::nullopt},
      {"52.5,", std::nullopt},
      {",13", std::nullopt},
      {"52.5;13.4", std::nullopt},
      {"52.5 N,13.4 E", std::nullopt},
      {"nan,0", std::nullopt},
      {"inf,0", std::nullopt},
      {"0x10,0", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSite(QString::fromLatin1(c.text)), c.site) << c.text;
  EXPECT_EQ(SiteText({39.742476, -105.1786, 1830.14}), "39.742476,-105.1786,1830.14");
  EXPECT_EQ(SiteText({-33.9, 18.4, 0}), "-33.9,18.4");
  // The sensor lies flat, facing south, over ground of albedo 0.2 unless told otherwise.
  const Site parsed = *ParseSite(u"52.5,13.4");
  EXPECT_EQ(parsed.tilt, 0);
  EXPECT_EQ(parsed.azimuth, 180);
  EXPECT_EQ(parsed.albedo, 0.2);
}

TEST(Site, OrientationValuesWithinTheirRanges) {
  const CommaDecimalLocale german;
  REQUIRE_COMMA_DECIMAL(german);
  const struct {
    const SiteRange& range;
    const char* text;
    std::optional<double> value;
    const char* error;
  } cases[] = {
      {kTiltRange, "35", 35, nullptr},
      {kTiltRange, " 0 ", 0, nullptr},
      {kTiltRange, "90", 90, nullptr},
      {kTiltRange, "91", std::nullopt, "tilt 91 is not within 0 to 90"},
      {kTiltRange, "-0.5", std::nullopt, "tilt -0.5 is not within 0 to 90"},
      {kAzimuthRange, "360", 360, nullptr},
      {kAzimuthRange, "361", std::nullopt, "azimuth 361 is not within 0 to 360"},
      {kAzimuthRange, "+12.5", 12.5, nullptr},
      {kAlbedoRange, "0.25", 0.25, nullptr},
      {kAlbedoRange, "1.5", std::nullopt, "albedo 1.5 is not within 0 to 1"},
      {kAlbedoRange, "0,25", std::nullopt, "albedo \"0,25\" is not a number"},
      {kAlbedoRange, "nan", std::nullopt, "albedo \"nan\" is not a number"},
      {kAlbedoRange, "", std::nullopt, "albedo \"\" is not a number"},
      {kLatitudeRange, "-90.5", std::nullopt, "latitude -90.5 is not within -90 to 90"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSiteValue(QString::fromLatin1(c.text), c.range), c.value) << c.text;
    if (c.error) {
      EXPECT_EQ(SiteValueError(QString::fromLatin1(c.text), c.range), QLatin1String(c.error));
    }
  }
}

}  // namespace
}  // namespace solardesk::testing
