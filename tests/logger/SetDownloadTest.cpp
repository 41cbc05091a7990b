#include "LoggerFixture.h"
#include "logger/logic/LoggerSet.h"
#include "logger/logic/LoggerTexts.h"
#include "logger/logic/SetDownload.h"
#include "panel/logic/DisplayDecode.h"
#include "panel/logic/MeterAnswer.h"

namespace solardesk::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SetDownloadTest : public LoggerAppTest {
 protected:
  void AddSet(const std::vector<QString>& readings = {"1"},
              const QString& start = "12/03/04 05:06:07", const QString& interval = "60",
              const QString& unit = "W") {
    meter->AddSet(start, interval, unit, readings);
  }
  // Reads the directory so that the Memory window lists the meter's sets.
  void OpenMemory() {
    ClickToolbar("Logger");
    ASSERT_NE(memory(), nullptr);
    meter->received.clear();
  }
  void ExpectNoListAndMessage(const QString& text) {
    const auto m = Messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].text, text);
    EXPECT_EQ(m[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(dataList.shownUnits.empty());
    EXPECT_FALSE(dataList.open);
    EXPECT_TRUE(TimersRunning());
    ExpectClicksTakenAgain();
  }
  void ExpectClicksTakenAgain() {
    EXPECT_TRUE(memory()->isEnabled());
    EXPECT_TRUE(app.panel().face->isEnabled());
    EXPECT_TRUE(app.panel().Toolbar1->isEnabled());
    EXPECT_FALSE(memory()->DownloadRunning());
  }
};

TEST_F(SetDownloadTest, ARowClickListsTheSetInTheDataList) {
  AddSet({"123.4", " 56.7"}, "12/03/04 05:06:07", "000000060", "W/(M)2");
  OpenMemory();
  // Keys, toolbar and window take no clicks while the list fills.
  std::vector<bool> enabledSeen;
  dataList.onEntry = [&] {
    enabledSeen.push_back(memory()->isEnabled() || app.panel().face->isEnabled() ||
                          app.panel().Toolbar1->isEnabled() || TimersRunning());
  };
  ClickRow(0);
  EXPECT_EQ(enabledSeen, (std::vector<bool>{false, false}));

  EXPECT_EQ(Commands(4), (std::vector<Bytes>{{0x00, 0x02, 0x07, 0x01}}));
  EXPECT_EQ(dataList.shownUnits, std::vector<QString>{kUnitWatts});
  EXPECT_EQ(dataList.entries, QStringList({"         1\t  12/03/04 05:06:07\t 123.4\t",
                                           "         2\t  12/03/04 05:07:07\t  56.7\t"}));
  EXPECT_EQ(logger().state().LoggerUnit, kUnitWatts);
  EXPECT_EQ(memory()->MBar->value(), 100);
  EXPECT_EQ(memory()->LastOutcome(), DownloadOutcome::Listed);
  EXPECT_TRUE(port.pending.empty()) << "every block was read";
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(TimersRunning());
  ExpectClicksTakenAgain();
  ClickRow(0);  // an open list is replaced by each download
  EXPECT_EQ(dataList.shownUnits.size(), 2u);
  EXPECT_EQ(dataList.closes, 1);
  EXPECT_EQ(dataList.entries.size(), 2);
}

TEST_F(SetDownloadTest, TheSetNumberGoesOutAsOneByteAndBtuSetsSaySo) {
  for (int i = 1; i <= 12; ++i)
    meter->AddSet(QStringLiteral("26/05/%1 10:00:00").arg(i, 2, 10, QLatin1Char('0')),
                  QStringLiteral("1"), i == 12 ? QStringLiteral("Btu/ft2h") : QStringLiteral("W"),
                  {QStringLiteral(" 1.00")});
  OpenMemory();
  ClickRow(11);
  EXPECT_EQ(Commands(4), (std::vector<Bytes>{{0x00, 0x02, 0x07, 0x0C}}));
  EXPECT_EQ(app.instrument().byteSlots.text(3), QStringLiteral("C"));
  EXPECT_EQ(dataList.shownUnits, std::vector<QString>{kUnitBtu});
  EXPECT_EQ(logger().state().LoggerUnit, kUnitBtu);
  ASSERT_EQ(dataList.entries.size(), 1);
  EXPECT_TRUE(dataList.entries[0].contains(QStringLiteral("26/05/12 10:00:00")));
}

// A meter that stops in the middle, a silent one and an unplugged one: nothing is listed.
TEST_F(SetDownloadTest, AMeterThatStopsFallsSilentOrIsUnpluggedListsNothing) {
  AddSet(std::vector<QString>(200, QStringLiteral("1.0")));
  meter->sets[0].blocksSent = 10;
  OpenMemory();
  dataList.open = true;  // a list from an earlier download
  ClickRow(0);
  EXPECT_EQ(memory()->LastOutcome(), DownloadOutcome::MeterStopped);
  ExpectNoListAndMessage(loggertext::kMeterStopped);
  EXPECT_EQ(memory()->MBar->value(), BlockProgress(10, SetBlockCount(meter->sets[0].length)));

  OpenMemory();
  port.silent = true;
  dialogs.shown.clear();
  ClickRow(0);
  EXPECT_EQ(Commands(4), (std::vector<Bytes>{{0x00, 0x02, 0x07, 0x01}}));
  ExpectNoListAndMessage(loggertext::kMeterStopped);
  port.silent = false;
  port.present = false;  // the time-out dropped the connection
  meter->received.clear();
  dialogs.shown.clear();
  ClickRow(0);
  EXPECT_TRUE(Commands(4).empty());
  EXPECT_EQ(memory()->LastOutcome(), DownloadOutcome::NotConnected);
  ExpectNoListAndMessage(kNotConnectedMessage);
}

// The meter claims 4 GB: sending three blocks, the download ends at the missing fourth; a 4 KB
// logger holds 64 blocks at most, however many blocks the meter goes on sending.
TEST_F(SetDownloadTest, AnAnnouncedLengthIsNotTakenOnTrustAndIsCutToTheLoggerCapacity) {
  AddSet();
  meter->sets[0].length = 0xFFFFFFFFu;
  meter->sets[0].blocksSent = 3;
  OpenMemory();
  ClickRow(0);
  ExpectNoListAndMessage(loggertext::kMeterStopped);
  meter->capacityKb = 4;
  meter->freeKb = 2;
  meter->sets[0].blocksSent = 100;
  port.pending.clear();
  dialogs.shown.clear();
  OpenMemory();
  ClickRow(0);
  EXPECT_EQ(memory()->LastOutcome(), DownloadOutcome::Listed);
  EXPECT_EQ(port.pending.size(), 100u - 64u) << "blocks read beyond the capacity";
  EXPECT_TRUE(Messages().empty());
}

// The lines saved are the lines shown; saving and reading back a logger list is the data file
// reader's test.
TEST_F(SetDownloadTest, ControlCharactersShowAsQuestionMarksAndAClosedListTakesNoMoreLines) {
  const std::vector<QString> readings = {QStringLiteral("1\t2.3"), QStringLiteral("4\r\n56"),
                                         QString::fromLatin1("7\0"
                                                             "89x",
                                                             5),
                                         QString::fromLatin1("\x7f\x1b\x85.5"),
                                         QStringLiteral("12.34")};
  AddSet(readings);
  OpenMemory();
  ClickRow(0);
  const QStringList shown = {"1?2.3", "4??56", "7?89x", "???.5", "12.34"};
  ASSERT_EQ(dataList.entries.size(), shown.size());
  for (qsizetype i = 0; i < shown.size(); ++i)
    EXPECT_TRUE(
        dataList.entries[i].endsWith(QStringLiteral("\t ") + shown[i] + QStringLiteral("\t")))
        << dataList.entries[i].toStdString();
  // Closing the list while it fills stops adding lines.
  dataList.onEntry = [&] {
    if (dataList.entries.size() == 3) dataList.open = false;
  };
  ClickRow(0);
  EXPECT_EQ(dataList.entries.size(), 3);
  EXPECT_TRUE(TimersRunning());
}

// Which streams and starts hold no readable data is ParseLoggerSet's table; here, an empty set
// and a start from the directory that is no date and time.
TEST_F(SetDownloadTest, SetsWithoutReadableDataListNothing) {
  const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
      {"12/03/04 05:06:07", 0}, {"12/13/45 99:99:99", std::nullopt}};
  for (const auto& [start, length] : cases) {
    meter->sets.clear();
    AddSet({"1"}, QString::fromLatin1(start));
    if (length) meter->sets[0].length = *length;
    OpenMemory();
    dialogs.shown.clear();
    ClickRow(0);
    EXPECT_EQ(memory()->LastOutcome(), DownloadOutcome::Unreadable) << start;
    ExpectNoListAndMessage(loggertext::kUnreadableSet);
  }
}

TEST_F(SetDownloadTest, AMegabyteSetArrivesWhole) {
  std::vector<QString> readings;
  for (int i = 0; i < 116'000; ++i) readings.push_back(QString::number(i % 1000));
  AddSet(readings, "26/12/31 23:00:00");
  OpenMemory();
  ClickRow(0);
  ASSERT_EQ(dataList.entries.size(), 116'000);
  EXPECT_EQ(dataList.entries.last(), QStringLiteral("    116000\t  27/03/22 12:19:00\t 999  \t"));
  EXPECT_EQ(memory()->MBar->value(), 100);
}

}  // namespace
}  // namespace solardesk::testing
