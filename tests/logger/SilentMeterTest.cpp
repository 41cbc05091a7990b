// A meter that is plugged in but silent is "not answering" in every dialog of the logger and of
// the meter interval; one that is not plugged in is "not connected". No dialog takes an earlier
// answer for the meter's.
#include "LoggerFixture.h"
#include "panel/logic/MeterAnswer.h"
#include "recording/ui/RecordingWindows.h"

namespace solardesk::testing {
namespace {

class SilentMeterTest : public LoggerAppTest {
 protected:
  void SetUp() override {
    meter->AddSet(QStringLiteral("12/03/04 05:06:07"), QStringLiteral("60"), QStringLiteral("W"),
                  {QStringLiteral("1")});
    instrument().link.setReadTimeoutMs(1);
  }
  // After an answer, the meter falls silent or is unplugged; a polling tick finds it so.
  void MakeMeter(bool silent) {
    port.silent = silent;
    port.present = silent;
    app.panel().Timer1Tick();
  }
  QString LastMessage() {
    const auto m = Messages();
    return m.empty() ? QString() : m.back().text;
  }
};

TEST_F(SilentMeterTest, EveryDialogTellsASilentMeterFromAnAbsentOne) {
  const std::pair<bool, const QString&> cases[] = {{true, kNotAnsweringMessage},
                                                   {false, kNotConnectedMessage}};
  for (const auto& [silent, said] : cases) {
    SCOPED_TRACE(silent ? "silent" : "absent");
    port.silent = false;
    port.present = true;
    port.pending.clear();  // answers a silent meter held back
    ClickToolbar("Logger");
    ASSERT_NE(memory(), nullptr);  // a Memory window from an answering meter, for the erase
    MakeMeter(silent);
    dialogs.shown.clear();
    meter->received.clear();

    dialogs.messageAnswers = {DialogAnswer::Ok};
    QTest::mouseClick(memory()->SSPanel2, Qt::LeftButton);
    EXPECT_EQ(LastMessage(), said) << "erase";
    EXPECT_NE(memory(), nullptr);  // the window stays: nothing was erased
    EXPECT_TRUE(Commands().empty());

    ClickToolbar("Logger");
    EXPECT_EQ(LastMessage(), said) << "logger";

    app.recording().transfer.PcSampling = false;
    app.recording().transfer.SetSamplingInterval({});
    EXPECT_EQ(LastMessage(), said) << "meter interval";
    EXPECT_TRUE(dialogs.of("input").empty());
    EXPECT_TRUE(TimersRunning());
  }
}

}  // namespace
}  // namespace solardesk::testing
