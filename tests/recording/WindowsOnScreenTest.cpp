#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include "RecordingFixture.h"
#include "logger/ui/LoggerCommands.h"
#include "logger/ui/MemoryWindow.h"
#include "panel/ui/WindowPlacement.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

using testing::ProgramTest;

// The program runs on one screen whose size the platform gives (the test runs once for each
// screen size); every window it opens must show every one of its buttons on that screen.
class WindowsOnScreenTest : public ProgramTest {
 protected:
  QRect Area() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

  // The buttons of `window` (push buttons and the toolbars' buttons) that are shown but do not
  // lie wholly inside the screen's available area, each named with its window.
  QStringList OffScreen(const QWidget& window) const {
    QStringList out;
    if (!Area().contains(window.frameGeometry())) {
      const QRect f = window.frameGeometry();
      out << QStringLiteral("%1 frame %2,%3 %4x%5")
                 .arg(window.objectName())
                 .arg(f.x())
                 .arg(f.y())
                 .arg(f.width())
                 .arg(f.height());
    }
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
      if (!b->isVisibleTo(&window) || b->window() != &window) continue;
      const QRect global(b->mapToGlobal(QPoint(0, 0)), b->size());
      if (!Area().contains(global))
        out << window.objectName() + QLatin1Char('/') +
                   (b->text().isEmpty() ? b->objectName() : b->text());
    }
    return out;
  }

  // Every shown top-level window that is off the screen, by name.
  QStringList OffScreenWindows() const {
    QStringList out;
    for (const QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) out << OffScreen(*w);
    return out;
  }

  // Runs `command`, which opens a modal window; gives what of that window is off the screen.
  QStringList OffScreenModal(const std::function<void()>& command) {
    QStringList out;
    bool seen = false;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      seen = true;
      QCoreApplication::processEvents();  // its place once shown
      out = OffScreen(*modal);
      modal->close();
    });
    command();
    EXPECT_TRUE(seen);
    return out;
  }

  void OpenEveryWindow() {
    const QByteArray file = HeaderText(kUnitWatts).toLatin1() +
                            "\r\n      1\t2026/12/04 10:00:00\t 5\t\r\n"
                            "      2\t2026/12/04 10:00:01\t 7\t\r\n";
    panel().clickToolbar(QStringLiteral("List"));
    panel().clickToolbar(QStringLiteral("Graph"));
    FileList* list = OpenFile(QStringLiteral("a.pvd"), file);
    ASSERT_NE(list, nullptr);
    list->clickToolbar(QStringLiteral("Plot"));
    list->clickToolbar(QStringLiteral("Statistics"));
    meter->AddSet(QStringLiteral("12/03/04 05:06:07"), QStringLiteral("60"), QStringLiteral("W"),
                  {QStringLiteral("1"), QStringLiteral("2")});
    panel().clickToolbar(QStringLiteral("Logger"));
    ASSERT_NE(program.logger().memory(), nullptr);
    program.logger().memory()->ChooseRow(0);
    panel().ShowDiagnostics();
    QCoreApplication::processEvents();  // the places once the windows show
  }
};

// With the main window at each corner and in the middle of the screen, every window it opens
// (beside it, below the logger window, centred over it) keeps its buttons on the screen.
TEST_F(WindowsOnScreenTest, EveryWindowOpensWithItsButtonsOnTheScreen) {
  const QRect area = Area();
  panel().show();
  QCoreApplication::processEvents();
  const QSize main = panel().frameGeometry().size();
  const QPoint places[] = {area.topLeft(), area.center() - QPoint(main.width(), main.height()) / 2,
                           area.bottomRight() - QPoint(main.width(), main.height())};
  for (const QPoint& place : places) {
    panel().move(place);
    panel().show();
    OpenEveryWindow();
    EXPECT_EQ(OffScreenWindows().join(QStringLiteral("; ")).toStdString(), "")
        << place.x() << "," << place.y();
    EXPECT_EQ(OffScreenModal([&] { panel().clickToolbar(QStringLiteral("RTC")); }), QStringList());
    EXPECT_EQ(OffScreenModal([&] { panel().clickToolbar(QStringLiteral("Interval")); }),
              QStringList());
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != &panel()) w->close();
    QCoreApplication::processEvents();
  }
}

// A place that fits is kept as asked; one that does not moves only as far as it must, and a
// window larger than the area gets the area's size.
TEST(WindowPlacement, KeepsAFittingPlaceAndMovesTheRestOntoTheArea) {
  const QRect area(0, 0, 1366, 728);
  const std::tuple<QRect, QRect> cases[] = {
      {{400, 0, 600, 400}, {400, 0, 600, 400}},      // fits
      {{985, 0, 942, 600}, {424, 0, 942, 600}},      // off the right edge
      {{400, 500, 300, 400}, {400, 328, 300, 400}},  // off the bottom
      {{-50, -20, 300, 200}, {0, 0, 300, 200}},      // off the top left
      {{100, 100, 2000, 1000}, {0, 0, 1366, 728}},   // larger than the area
  };
  for (const auto& [asked, placed] : cases) EXPECT_EQ(OntoArea(asked, area), placed) << asked.x();
}

}  // namespace
}  // namespace solardesk
