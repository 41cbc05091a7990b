#include "LoggerFixture.h"
#include "logger/logic/LoggerDirectory.h"
#include "logger/logic/LoggerTexts.h"

namespace solardesk::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class LoggerDirectoryTest : public LoggerAppTest {
 protected:
  void AddSets(int count) {
    for (int i = 0; i < count; ++i)
      meter->AddSet(QStringLiteral("26/01/%1 08:00:00").arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                    QStringLiteral("60"), QStringLiteral("W/(M)2"), {QStringLiteral("100.0")});
  }
  void SetMemory(std::uint32_t capacityKb, std::uint32_t freeKb) {
    meter->capacityKb = capacityKb;
    meter->freeKb = freeKb;
  }
  bool SaidNoData() const {
    const auto m = Messages();
    return m.size() == 1 && m[0].text == loggertext::kNoData && m[0].icon == MessageIcon::Critical;
  }
};

TEST(CapacityFor, FullMemoryRulesFillAndCaption) {
  struct Case {
    std::uint32_t a, b;
    int count;
    int percent;
    const char* caption;
  };
  const Case cases[] = {
      {1'000'000, 500'000, 2, 50, "Capacity : 976 MB"},
      {1'966'080, 983'040, 1, 50, "Capacity : 1920 MB"},
      {1'000'000, 500'000, 150, 100, "Capacity : 976 MB"},  // 150 sets: full
      {1'000'000, 500'000, 149, 50, "Capacity : 976 MB"},
      {1'000'000, 10'240, 2, 100, "Capacity : 976 MB"},  // free space at the floor: full
      {1'000'000, 10'241, 2, 99, "Capacity : 976 MB"},
      {1023, 500, 1, 100, "Capacity : 0 MB"},
      {0, 20'000, 1, 0, "Capacity : 0 MB"},        // no capacity: no division by zero
      {20'000, 30'000, 1, 0, "Capacity : 19 MB"},  // more free than capacity: empty gauge
  };
  for (const Case& c : cases) {
    const LoggerCapacity cap = CapacityFor(c.a, c.b, c.count);
    EXPECT_EQ(cap.usedPercent, c.percent) << c.a << " " << c.b << " " << c.count;
    EXPECT_EQ(cap.caption, QString::fromLatin1(c.caption)) << c.a;
  }
}

TEST_F(LoggerDirectoryTest, ReadsCapacityAndEverySetIntoTheMemoryWindow) {
  AddSets(2);
  SetMemory(1'000'000, 500'000);
  meter->loggerStatus = 0xFF;  // the memory card indication does not stop the command
  app.panel().move(40, 30);
  ClickToolbar("Logger");

  // Slot 3 keeps its start-up text for the two queries without a parameter.
  EXPECT_EQ(Commands(4), (std::vector<Bytes>{{0x00, 0x02, 0x04, 0x00},
                                             {0x00, 0x02, 0x06, 0x00},
                                             {0x00, 0x02, 0x08, 0x01},
                                             {0x00, 0x02, 0x08, 0x02}}));
  ASSERT_NE(memory(), nullptr);
  EXPECT_TRUE(logger().state().MemoryOpen && memory()->isVisible());
  const QRect main = app.panel().frameGeometry();  // beside the main window's right edge
  EXPECT_EQ(memory()->frameGeometry().topLeft(), QPoint(main.x() + main.width(), main.y()));
  QTableWidget* grid = memory()->GridSet;
  ASSERT_EQ(grid->rowCount(), 2);
  // Title, gauge, caption, progress, the grid's headings and its last row.
  EXPECT_EQ(
      (QStringList{memory()->windowTitle(), QString::number(memory()->MSize->floodPercent()),
                   memory()->LblMemorySize->text(), QString::number(memory()->MBar->value()),
                   grid->horizontalHeaderItem(0)->text(), grid->horizontalHeaderItem(1)->text(),
                   grid->item(1, 0)->text(), grid->item(1, 1)->text()}),
      (QStringList{"Data Logger", "50", "Capacity : 976 MB", "100", "Set", "  Start Time  ", "2",
                   "26/01/02 08:00:00"}));
  EXPECT_EQ(app.instrument().LoggerSetCount, 2);
  EXPECT_EQ(logger().state().SetLength(2), meter->sets[1].length);
  EXPECT_EQ(logger().state().SetStartText(1), QStringLiteral("26/01/01 08:00:00"));
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(TimersRunning());
}

TEST_F(LoggerDirectoryTest, NothingStoredSaysNoDataAndOpensNoWindow) {
  struct Case {
    int sets;
    std::uint32_t a, b;
  };
  const Case cases[] = {
      {0, 1'000'000, 500'000},    // no sets, whatever the memory says
      {3, 2'000'000, 2'000'000},  // free space equals capacity
  };
  for (const Case& c : cases) {
    meter->sets.clear();
    AddSets(c.sets);
    SetMemory(c.a, c.b);
    dialogs.shown.clear();
    ClickToolbar("Logger");
    EXPECT_TRUE(SaidNoData()) << c.sets;
    EXPECT_EQ(memory(), nullptr) << c.sets;
    EXPECT_FALSE(logger().state().MemoryOpen);
    EXPECT_TRUE(TimersRunning()) << c.sets;
  }
  // No entry was asked for.
  for (const auto& r : Commands()) EXPECT_NE(r[2], 0x08);
}

TEST_F(LoggerDirectoryTest, ManySetsShowAFullMemoryAndASecondLoggerReplacesTheWindow) {
  AddSets(150);
  SetMemory(1'000'000, 900'000);
  meter->loggerStatus = 1;
  ClickToolbar("Logger");
  ASSERT_NE(memory(), nullptr);
  EXPECT_EQ(memory()->MSize->floodPercent(), 100);
  EXPECT_EQ(memory()->GridSet->rowCount(), 150);
  EXPECT_EQ(Commands(4).back(), (Bytes{0x00, 0x02, 0x08, 0x96}));
  EXPECT_TRUE(TimersRunning());

  // A second Logger replaces the window and closes the data list; closing the window ends it.
  QPointer<MemoryWindow> first = memory();
  dataList.open = true;
  meter->sets.pop_back();
  ClickToolbar("Logger");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  ASSERT_NE(memory(), nullptr);
  EXPECT_EQ(memory()->GridSet->rowCount(), 149);
  EXPECT_FALSE(dataList.open);
  EXPECT_TRUE(logger().state().MemoryOpen);
  memory()->close();
  EXPECT_FALSE(logger().state().MemoryOpen);
}

// "Erase" on the toolbar, the gauge and the two swatches: each asks first and sends only on OK.
TEST_F(LoggerDirectoryTest, EraseAsksFirstAndSendsOnlyOnOk) {
  const struct {
    ThreeDPanel* MemoryWindow::*panel;  // null: the toolbar key
    std::uint8_t code;
  } cases[] = {{nullptr, 0x10},
               {&MemoryWindow::MSize, 0x10},
               {&MemoryWindow::SSPanel2, 0x10},
               {&MemoryWindow::SSPanel3, 0x16}};
  for (const auto& c : cases) {
    meter->sets.clear();
    AddSets(1);
    ClickToolbar("Logger");
    ASSERT_NE(memory(), nullptr);
    ThreeDPanel* panel = c.panel ? memory()->*c.panel : nullptr;
    const auto erase = [&] {
      panel ? QTest::mouseClick(panel, Qt::LeftButton) : ClickToolbar("Erase");
    };
    meter->received.clear();
    dialogs.shown.clear();
    dialogs.messageAnswers = {DialogAnswer::Cancel};
    erase();
    EXPECT_TRUE(meter->received.empty()) << int(c.code);
    ASSERT_NE(memory(), nullptr);
    EXPECT_TRUE(memory()->isVisible());
    EXPECT_TRUE(TimersRunning());

    dialogs.messageAnswers = {DialogAnswer::Ok};
    erase();
    EXPECT_EQ(Commands(), (std::vector<Bytes>{{0x00, 0x01, c.code}}));
    EXPECT_EQ(memory(), nullptr);
    EXPECT_FALSE(logger().state().MemoryOpen);
    EXPECT_TRUE(TimersRunning());
    for (const auto& shown : Messages()) {
      EXPECT_EQ(shown.text + "|" + shown.title,
                "All the Automatically Recorded data in memory will be deleted!|Warning");
      EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
      EXPECT_EQ(shown.buttons, MessageButtons::OkCancel);
    }
    EXPECT_EQ(Messages().size(), 2u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace solardesk::testing
