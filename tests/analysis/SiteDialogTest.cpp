#include <gtest/gtest.h>

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

}  // namespace
}  // namespace solardesk::testing
