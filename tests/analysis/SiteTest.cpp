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
}

}  // namespace
}  // namespace solardesk::testing
