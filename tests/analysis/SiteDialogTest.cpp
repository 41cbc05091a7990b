#include <gtest/gtest.h>

#include "analysis/ClearSkyModel.h"
#include "analysis/SiteDialog.h"
#include "analysis/SiteSettings.h"
#include "support/ScriptedDialogs.h"

namespace solardesk::testing {
namespace {

TEST(SiteDialog, AsksAgainAfterABadEntryAndCancelKeepsTheSite) {
  SaveSite(std::nullopt);  // the test program's own settings (TestMain.cpp)
  ScriptedDialogs dialogs;
  dialogs.inputAnswers = {"91,13.4", " 52.5 , 13.4 , 34 "};
  EXPECT_TRUE(EditSite(dialogs));
  EXPECT_EQ(LoadSite(), (Site{52.5, 13.4, 34}));
  const auto inputs = dialogs.of("input");
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0].title, "Site");
  EXPECT_TRUE(inputs[0].text.contains("optional elevation in metres"));
  EXPECT_EQ(inputs[0].defaultText, "");
  EXPECT_EQ(inputs[1].defaultText, "91,13.4");  // the entry offered again to be put right
  const auto warnings = dialogs.of("message");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].text.contains("\"91,13.4\" is no site"))
      << warnings[0].text.toStdString();
  EXPECT_TRUE(warnings[0].text.contains("latitude from -90 to 90"));

  ScriptedDialogs cancelled;  // no answer queued: Cancel
  EXPECT_FALSE(EditSite(cancelled));
  ASSERT_EQ(cancelled.of("input").size(), 1u);
  EXPECT_EQ(cancelled.of("input")[0].defaultText, "52.5,13.4,34");
  EXPECT_EQ(LoadSite(), (Site{52.5, 13.4, 34}));
  SaveSite(std::nullopt);
  EXPECT_EQ(LoadSite(), std::nullopt);
}

// The sensor's values are typed as the desktop writes numbers: under a German locale "30,5" is
// 30.5, while "30.5" (a grouping point there) is refused by name, as is a value out of range.
TEST(SiteDialog, SensorValuesInTheDesktopsNumberFormat) {
  const QLocale german(QLocale::German, QLocale::Germany);
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  const struct {
    const char* text;
    const QLocale& locale;
    std::optional<double> value;
  } numbers[] = {{"30,5", german, 30.5},           {" 0,25 ", german, 0.25},
                 {"30.5", german, std::nullopt},   {"1.000", german, std::nullopt},
                 {"30.5", english, 30.5},          {"0,25", english, std::nullopt},
                 {"1,000", english, std::nullopt}, {"abc", english, std::nullopt},
                 {"", german, std::nullopt}};
  for (const auto& n : numbers)
    EXPECT_EQ(TypedNumber(QString::fromLatin1(n.text), n.locale), n.value) << n.text;

  SaveSite(Site{52.5, 13.4, 34});
  SaveLinkeTurbidity(kDefaultLinkeTurbidity);
  ScriptedDialogs dialogs;
  dialogs.inputAnswers = {"30.5", "91", "30,5", "180", "0,25", "3,5"};
  EXPECT_TRUE(EditSensor(dialogs, german));
  EXPECT_EQ(LoadSite(), (Site{52.5, 13.4, 34, 30.5, 180, 0.25}));
  EXPECT_DOUBLE_EQ(LoadLinkeTurbidity(), 3.5);
  const auto warnings = dialogs.of("message");
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_TRUE(warnings[0].text.contains("tilt \"30.5\" is not a number"))
      << warnings[0].text.toStdString();
  EXPECT_TRUE(warnings[0].text.contains("\",\" before the decimals"));
  EXPECT_TRUE(warnings[1].text.contains("tilt 91 is not within 0 to 90"));
  EXPECT_EQ(dialogs.of("input")[0].defaultText, "0");  // flat, as nothing was kept
  const SiteAssumptions assumed = LoadSiteAssumptions();
  EXPECT_EQ(assumed.clearSky.model, ClearSkyModel::Ineichen);
  EXPECT_DOUBLE_EQ(assumed.clearSky.linkeTurbidity, 3.5);

  // Cancel in the last box changes nothing; a new location keeps the orientation.
  ScriptedDialogs cancelled;
  cancelled.inputAnswers = {"45", "90", "0,5"};
  EXPECT_FALSE(EditSensor(cancelled, german));
  EXPECT_EQ(cancelled.of("input")[0].defaultText, "30,5");
  ScriptedDialogs moved;
  moved.inputAnswers = {"48.1,11.6"};
  EXPECT_TRUE(EditSite(moved));
  EXPECT_EQ(LoadSite(), (Site{48.1, 11.6, 0, 30.5, 180, 0.25}));
  SaveSite(std::nullopt);
}

// A sensor lying flat takes either clear sky, chosen from a list with the kept one chosen first
// and kept with the site; the turbidity is asked under Ineichen only, in the desktop's number
// format. A tilted sensor is always set beside Ineichen's.
TEST(SiteDialog, FlatSensorChoosesItsClearSky) {
  const QLocale german(QLocale::German, QLocale::Germany);
  SaveSite(Site{52.5, 13.4, 34});
  SaveLinkeTurbidity(kDefaultLinkeTurbidity);
  SaveFlatClearSkyModel(ClearSkyModel::Haurwitz);
  ScriptedDialogs dialogs;
  dialogs.inputAnswers = {"0", "2,5"};
  dialogs.chooseAnswers = {1};
  EXPECT_TRUE(EditSensor(dialogs, german));
  SiteAssumptions assumed = LoadSiteAssumptions();
  EXPECT_EQ(assumed.site, (Site{52.5, 13.4, 34}));
  EXPECT_EQ(assumed.clearSky.model, ClearSkyModel::Ineichen);
  EXPECT_DOUBLE_EQ(assumed.clearSky.linkeTurbidity, 2.5);
  const auto choices = dialogs.of("choose");
  ASSERT_EQ(choices.size(), 1u);
  EXPECT_EQ(choices[0].title, "Sensor");
  ASSERT_EQ(choices[0].items.size(), 2);
  EXPECT_TRUE(choices[0].items[0].startsWith("Haurwitz (")) << choices[0].items[0].toStdString();
  EXPECT_TRUE(choices[0].items[1].startsWith(QString::fromUtf8("Ineichen\u2013Perez (")))
      << choices[0].items[1].toStdString();
  EXPECT_EQ(choices[0].current, 0);
  const auto inputs = dialogs.of("input");
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[1].defaultText, "3");
  EXPECT_TRUE(dialogs.of("message").empty());

  const struct {
    QStringList answers;
    std::deque<std::optional<int>> chosen;
    bool kept;
    int asked;
    int chosenFirst;  // the item chosen when the list opens; -1: no list
    ClearSkyModel model;
  } steps[] = {
      {{"0"}, {std::nullopt}, false, 1, 1, ClearSkyModel::Ineichen},  // Cancel in the list
      {{"0"}, {0}, true, 1, 1, ClearSkyModel::Haurwitz},              // no turbidity asked
      {{"0"}, {1}, false, 2, 0, ClearSkyModel::Haurwitz},             // Cancel in the turbidity
      {{"30", "180", "0,2", "4"}, {}, true, 4, -1, ClearSkyModel::Ineichen},  // tilted
  };
  for (const auto& step : steps) {
    ScriptedDialogs d;
    d.inputAnswers.assign(step.answers.begin(), step.answers.end());
    d.chooseAnswers = step.chosen;
    const std::string name = step.answers.join(' ').toStdString();
    EXPECT_EQ(EditSensor(d, german), step.kept) << name;
    EXPECT_EQ(d.of("input").size(), static_cast<std::size_t>(step.asked)) << name;
    const auto lists = d.of("choose");
    EXPECT_EQ(lists.empty() ? -1 : lists[0].current, step.chosenFirst) << name;
    EXPECT_EQ(LoadSiteAssumptions().clearSky.model, step.model) << name;
  }
  // The flat sensor's choice waits for the sensor to lie flat again, as does the turbidity.
  EXPECT_EQ(LoadFlatClearSkyModel(), ClearSkyModel::Haurwitz);
  EXPECT_DOUBLE_EQ(LoadLinkeTurbidity(), 4);
  SaveSite(std::nullopt);
}

}  // namespace
}  // namespace solardesk::testing
