#include <gtest/gtest.h>

#include <QTimer>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/SamplingChoice.h"

namespace solardesk {
namespace {

using testing::ProgramTest;
using testing::RecorderAccess;

class ToolbarTest : public ProgramTest {
 protected:
  void Click(const char* key) { panel().clickToolbar(QString::fromLatin1(key)); }
  QString SaveTip() { return panel().toolbarAction(QStringLiteral("Save"))->toolTip(); }
  // Answers the SamplingChoice window once it is shown: picks PC or meter and clicks OK, or
  // closes it without OK.
  void AnswerSamplingChoice(std::optional<bool> pc) {
    QTimer::singleShot(0, &panel(), [this, pc] {
      auto* choice = panel().findChild<SamplingChoice*>();
      ASSERT_NE(choice, nullptr);
      EXPECT_EQ(choice->windowTitle(), QStringLiteral("Sampling Rate"));
      EXPECT_TRUE(choice->OptMeter->isChecked());
      if (!pc) {
        choice->reject();
        return;
      }
      (*pc ? choice->OptPC : choice->OptMeter)->setChecked(true);
      choice->CmdOK->click();
    });
  }
};

TEST_F(ToolbarTest, SaveTogglesRecordingAndTheButtonStateAndOpenWaitsForTheStop) {
  Click("Save");  // the dialog is cancelled
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_FALSE(transfer().FileChosen);
  EXPECT_EQ(SaveTip(), QStringLiteral("Save As (Ctrl+S)"));
  EXPECT_EQ(dialogs.of("save")[0].filter, kDataFileFilter);

  dialogs.saveAnswers.push_back(Path(QStringLiteral("rec.pvd")));
  Click("Save");
  EXPECT_TRUE(transfer().recorder.fileRecording());
  EXPECT_EQ(transfer().recorder.recordFileName(), Path(QStringLiteral("rec.pvd")));
  EXPECT_EQ(SaveTip(), QStringLiteral("Stop Recording (Ctrl+S)"));
  EXPECT_TRUE(panel().LblRecording->isVisibleTo(&panel()));
  EXPECT_EQ(panel().LblFileName->text(), QStringLiteral("rec.pvd"));
  Click("Open");
  ASSERT_EQ(dialogs.of("message").size(), 1u);
  EXPECT_EQ(dialogs.of("message")[0].text,
            QStringLiteral("Recording Mode!\n\rPlease stop recording!"));
  EXPECT_EQ(dialogs.of("message")[0].icon, MessageIcon::Critical);
  EXPECT_TRUE(dialogs.of("open").empty());

  Click("Save");  // stops without a dialog
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_EQ(SaveTip(), QStringLiteral("Save As (Ctrl+S)"));
  EXPECT_FALSE(panel().LblRecording->isVisibleTo(&panel()));
  EXPECT_EQ(dialogs.of("save").size(), 2u);
}

TEST_F(ToolbarTest, WithoutAUnitOrACreatableFileNothingIsRecordedOrListed) {
  meter->unit = QString();
  Poll();
  Click("Save");
  Click("List");
  EXPECT_TRUE(dialogs.of("save").empty());
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_FALSE(transfer().recorder.listRecording());
  EXPECT_EQ(recording().realTimeList(), nullptr);

  meter->unit = kUnitWatts;
  Poll();
  dialogs.saveAnswers.push_back(Path(QStringLiteral("missing/folder/x.pvd")));
  Click("Save");
  EXPECT_FALSE(transfer().recorder.fileRecording());
  EXPECT_EQ(SaveTip(), QStringLiteral("Save As (Ctrl+S)"));
  EXPECT_EQ(dialogs.of("message").size(), 1u);
}

TEST_F(ToolbarTest, ListOpensOnce) {
  meter->unit = kUnitBtu;
  Poll();
  Click("List");
  RealTimeList* list = recording().realTimeList();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(transfer().recorder.listRecording());
  EXPECT_EQ(list->windowTitle(), QStringLiteral("Real Time List"));
  EXPECT_EQ(list->GridN->model()->headerData(2, Qt::Horizontal).toString(),
            QStringLiteral("    Btu/(ft)2.h"));
  Click("List");
  EXPECT_EQ(recording().realTimeList(), list);

  list->close();
  EXPECT_FALSE(transfer().recorder.listRecording());
  EXPECT_EQ(transfer().recorder.listRecordCount(), 0.0f);
}

// The PC's interval is rounded and clamped as the entry rules say and sampled at the next tick;
// the meter's is read from it, then set there clamped to a minute.
TEST_F(ToolbarTest, IntervalIsAskedForThePcOrTheMeter) {
  RecorderAccess::SampleTicks(transfer().recorder) = 1;
  AnswerSamplingChoice(true);
  dialogs.inputAnswers.push_back(QStringLiteral("2.5"));
  Click("Interval");
  EXPECT_TRUE(transfer().PcSampling);
  EXPECT_EQ(transfer().recorder.sampleInterval(), 2.0f);
  EXPECT_EQ(transfer().recorder.sampleTicks(), 0);
  AnswerSamplingChoice(std::nullopt);  // closed without OK: the last choice holds
  dialogs.inputAnswers.push_back(QStringLiteral("0"));
  Click("Interval");
  EXPECT_EQ(transfer().recorder.sampleInterval(), 1.0f);

  meter->interval = 30;
  AnswerSamplingChoice(false);
  dialogs.inputAnswers.push_back(QStringLiteral("75"));
  meter->received.clear();
  Click("Interval");
  ASSERT_GE(meter->received.size(), 2u);
  const auto& query = meter->received[meter->received.size() - 2];
  const auto& set = meter->received.back();
  EXPECT_EQ((std::vector<std::uint8_t>(query.begin(), query.begin() + 3)),
            (std::vector<std::uint8_t>{0x00, 0x02, 0x02}));
  EXPECT_EQ((std::vector<std::uint8_t>(set.begin(), set.begin() + 4)),
            (std::vector<std::uint8_t>{0x00, 0x01, 0x0F, 60}));
  EXPECT_EQ(meter->interval, 60);
  EXPECT_EQ(transfer().recorder.sampleInterval(), 1.0f);
  EXPECT_TRUE(TimersRunning());

  // Each box as prompt, title and the value it offers.
  QStringList asked;
  for (const auto& input : dialogs.of("input"))
    asked << input.text + '|' + input.title + '|' + input.defaultText;
  const QString prompt = QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= %1 ) |");
  EXPECT_EQ(asked, (QStringList{prompt.arg(86400) + "Input Sampling Time|1",
                                prompt.arg(86400) + "Input Sampling Time|2",
                                prompt.arg(60) + "Input Sampling Time|30"}));
}

// The PC's box and the meter's ask through one loop; the PC's stands for both.
TEST_F(ToolbarTest, IntervalEntryThatIsNotANumberIsAskedAgain) {
  transfer().recorder.SetSampleInterval(5);
  AnswerSamplingChoice(true);
  dialogs.inputAnswers = {QStringLiteral("soon"), QStringLiteral("1,5"), QStringLiteral("7")};
  Click("Interval");
  // Asked again with the same text and the value it had.
  QStringList asked;
  for (const auto& input : dialogs.of("input")) asked << input.text + '|' + input.defaultText;
  EXPECT_EQ(asked, QStringList(3, dialogs.of("input")[0].text + "|5"));
  const auto messages = dialogs.of("message");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages.back().text, QStringLiteral("Please enter a number of seconds."));
  EXPECT_EQ(messages.back().icon, MessageIcon::Exclamation);
  EXPECT_EQ(transfer().recorder.sampleInterval(), 7.0f);

  // Cancel (the empty answer) changes nothing, without a message.
  AnswerSamplingChoice(true);
  Click("Interval");
  EXPECT_EQ(transfer().recorder.sampleInterval(), 7.0f);
  EXPECT_EQ(dialogs.of("message").size(), 2u);
}

}  // namespace
}  // namespace solardesk
