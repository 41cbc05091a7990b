#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <memory>

#include "panel/ui/WindowPlacement.h"

namespace solardesk {
namespace {

// Windows remembered in the settings of this test program, on one screen whose size the platform
// gives (the test runs once on a small and once on a large screen).
class WindowPlacesTest : public ::testing::Test {
 protected:
  WindowPlacesTest() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
              QStringLiteral("SolarDesk"))
        .clear();
    RememberWindowPlaces(true);
  }
  ~WindowPlacesTest() override { RememberWindowPlaces(false); }

  static QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

  // A window named `name` of 300 x 200 pixels with a label, asked to open at `asked`, shown.
  static std::unique_ptr<QWidget> Open(const QString& name, QPoint asked) {
    auto w = std::make_unique<QWidget>();
    w->setObjectName(name);
    new QLabel(name, w.get());
    w->resize(300, 200);
    PlaceWindow(*w, asked, nullptr);
    w->show();
    QCoreApplication::processEvents();
    return w;
  }
};

// A remembered place (and size) wins where it is still on the screen, fully or mostly (then
// moved onto it); a place on a larger screen than this one, or on none, gives way to the place
// asked for.
TEST_F(WindowPlacesTest, RememberedPlaceWinsWhereItIsStillOnTheScreen) {
  const QRect area = Area();
  const bool large = area.width() >= 1900;
  const QPoint asked = area.topLeft() + QPoint(40, 30);
  const QSize size(400, 300);
  QRect frameOfSize;  // a frame around `size`, as the platform draws it
  {
    const auto w = Open(QStringLiteral("Probe"), asked);
    w->resize(size);
    QCoreApplication::processEvents();
    frameOfSize = w->frameGeometry();
  }
  const int frameWidth = frameOfSize.width();
  // Remembered frame's top left; where the window is expected; whether it keeps `size`.
  const QPoint largeOnly(1450, 650);
  const QPoint mostlyIn(area.right() + 1 - frameWidth * 9 / 10, area.top() + 100);
  const std::tuple<const char*, QPoint, QPoint, bool> cases[] = {
      {"on the large screen only", largeOnly, large ? largeOnly : asked, large},
      {"fully inside", area.topLeft() + QPoint(200, 100), area.topLeft() + QPoint(200, 100), true},
      {"mostly inside", mostlyIn, QPoint(area.right() + 1 - frameWidth, mostlyIn.y()), true},
      {"on no screen", QPoint(-3000, 100), asked, false},
  };
  for (const auto& [what, remembered, expected, keepsSize] : cases) {
    const QString name = QString::fromLatin1(what);
    {
      const auto w = Open(name, asked);
      w->resize(size);
      w->move(remembered);
      QCoreApplication::processEvents();
    }  // hidden as it goes: its place is remembered
    const auto w = Open(name, asked);
    EXPECT_EQ(w->frameGeometry().topLeft(), expected) << what;
    EXPECT_EQ(w->size(), keepsSize ? size : QSize(300, 200)) << what;
  }
}

// A window placed against the main window reopens where it was as seen from the main window: it
// follows the main window that has moved since, and a place an older run kept without regard to
// the main window (here the screen's corner, where the main window sat then) never applies.
TEST_F(WindowPlacesTest, WindowPlacedAgainstTheMainWindowFollowsIt) {
  const QPoint corner = Area().topLeft();
  QWidget main;
  main.resize(200, 150);
  main.move(corner + QPoint(20, 20));
  main.show();
  QCoreApplication::processEvents();
  const auto open = [&main](const QString& name) {
    auto w = std::make_unique<QWidget>(&main, Qt::Window);
    w->setObjectName(name);
    w->resize(150, 100);
    PlaceWindow(*w, main.frameGeometry().topLeft() + QPoint(25, 25), &main);
    w->show();
    QCoreApplication::processEvents();
    return w;
  };
  const QPoint offset(40, 60);  // where the user left the window, from the main window
  {
    const auto w = open(QStringLiteral("Follows"));
    w->move(main.frameGeometry().topLeft() + offset);
    QCoreApplication::processEvents();
  }
  {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
                       QStringLiteral("SolarDesk"));
    settings.setValue(QStringLiteral("windows/Stale/frame"), QRect(corner, QSize(150, 100)));
    settings.setValue(QStringLiteral("windows/Stale/size"), QSize(150, 100));
  }
  main.move(corner + QPoint(300, 200));
  QCoreApplication::processEvents();
  const QPoint mainNow = main.frameGeometry().topLeft();
  const std::tuple<const char*, QPoint> cases[] = {
      {"Follows", mainNow + offset},
      {"Stale", mainNow + QPoint(25, 25)},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(open(QString::fromLatin1(name))->frameGeometry().topLeft(), expected) << name;
}

// Without remembering, a window opens where it is asked to, whatever it was before.
TEST_F(WindowPlacesTest, NothingIsRememberedWhileRememberingIsOff) {
  const QPoint asked = Area().topLeft() + QPoint(40, 30);
  RememberWindowPlaces(false);
  {
    const auto w = Open(QStringLiteral("Probe"), asked);
    w->move(asked + QPoint(100, 100));
    QCoreApplication::processEvents();
  }
  RememberWindowPlaces(true);
  EXPECT_EQ(Open(QStringLiteral("Probe"), asked)->frameGeometry().topLeft(), asked);
}

TEST(WindowPlacement, MostlyInsideMeansThreeQuartersOfTheFrame) {
  const QRect area(0, 0, 1000, 800);
  const std::tuple<QRect, bool> cases[] = {
      {{100, 100, 400, 300}, true},   // fully inside
      {{700, 100, 400, 300}, true},   // three quarters inside
      {{701, 100, 400, 300}, false},  // a pixel less
      {{0, 650, 400, 300}, false},    // half inside
      {{1200, 100, 400, 300}, false}, {{100, 100, 0, 0}, false},
  };
  for (const auto& [frame, inside] : cases)
    EXPECT_EQ(MostlyInside(frame, area), inside) << frame.x();
}

}  // namespace
}  // namespace solardesk
