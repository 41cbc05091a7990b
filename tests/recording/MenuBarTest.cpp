#include <gtest/gtest.h>

#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include "RecordingFixture.h"
#include "recording/logic/DataFileFormat.h"

namespace solardesk {
namespace {

using testing::ProgramTest;

class MenuBarTest : public ProgramTest {
 protected:
  MenuBarTest() {
    panel().show();
    panel().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&panel()));
  }
  // The texts of the entries of the menu titled `title`, without separators.
  QStringList Entries(const QString& title) {
    for (QAction* m : panel().menuBar->actions()) {
      if (m->text().remove(QLatin1Char('&')) != title || !m->menu()) continue;
      QStringList out;
      for (QAction* a : m->menu()->actions())
        if (!a->isSeparator()) out << a->text().remove(QLatin1Char('&'));
      return out;
    }
    return {};
  }
};

// The four menus with their entries; the shortcuts show in the menus and in the tool tips of the
// toolbar buttons, and a shortcut typed on the main window runs its command.
TEST_F(MenuBarTest, MenusOfferEveryCommandAndTheShortcutsRunThem) {
  EXPECT_EQ(Entries(QStringLiteral("File")),
            QStringList({"Record...", "Open...", "Recent files", "Export CSV...", "Print...",
                         "Print Preview...", "Quit"}));
  EXPECT_EQ(Entries(QStringLiteral("Meter")),
            QStringList({"Interval...", "Clock...", "Set-up", "Logger", "Erase..."}));
  EXPECT_EQ(Entries(QStringLiteral("View")), QStringList({"Live list", "Live graph", "Plot"}));
  EXPECT_EQ(Entries(QStringLiteral("Help")),
            QStringList({"User guide", "Diagnostics", "About SolarDesk"}));

  // Menu key, shortcut, toolbar button that shows it (or none), the dialog it raises here.
  const std::tuple<const char*, QKeySequence, const char*, const char*> cases[] = {
      {"Open", QKeySequence(Qt::CTRL | Qt::Key_O), "Open", "open"},
      {"Save", QKeySequence(Qt::CTRL | Qt::Key_S), "Save", "save"},
      {"Print", QKeySequence(Qt::CTRL | Qt::Key_P), nullptr, "message"},
  };
  for (const auto& [key, shortcut, button, dialog] : cases) {
    QAction* entry = panel().menuAction(QString::fromLatin1(key));
    ASSERT_NE(entry, nullptr) << key;
    EXPECT_EQ(entry->shortcut(), shortcut) << key;
    if (button) {
      EXPECT_TRUE(
          panel()
              .toolbarAction(QString::fromLatin1(button))
              ->toolTip()
              .endsWith(QStringLiteral(" (%1)").arg(shortcut.toString(QKeySequence::NativeText))))
          << key;
    }
    dialogs.shown.clear();
    QTest::keySequence(&panel(), shortcut);
    EXPECT_EQ(dialogs.of(QString::fromLatin1(dialog)).size(), 1u) << key;
  }
  EXPECT_EQ(panel().menuAction(QStringLiteral("User guide"))->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(panel().menuAction(QStringLiteral("Quit"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_Q));
}

// With a file listed, the list commands of the menu run in its window, and their dialogs open
// over it; Help > About names the versions and the licence.
TEST_F(MenuBarTest, ListCommandsGoToTheOpenListAndAboutNamesTheLicence) {
  FileList* list =
      OpenFile(QStringLiteral("a.pvd"),
               HeaderText(kUnitWatts).toLatin1() + "\r\n      1\t2026/12/04 10:00:00\t 5\t\r\n");
  ASSERT_NE(list, nullptr);
  dialogs.shown.clear();
  panel().menuAction(QStringLiteral("Print"))->trigger();
  panel().menuAction(QStringLiteral("Print Preview"))->trigger();
  panel().menuAction(QStringLiteral("Export CSV"))->trigger();
  ASSERT_EQ(dialogs.of(QStringLiteral("printer")).size(), 1u);
  EXPECT_EQ(dialogs.of(QStringLiteral("printer"))[0].owner, list);
  ASSERT_EQ(dialogs.of(QStringLiteral("preview")).size(), 1u);
  EXPECT_EQ(dialogs.of(QStringLiteral("preview"))[0].owner, list);
  ASSERT_EQ(dialogs.of(QStringLiteral("save")).size(), 1u);
  EXPECT_EQ(dialogs.of(QStringLiteral("save"))[0].owner, list);
  panel().menuAction(QStringLiteral("Plot"))->trigger();
  EXPECT_NE(program.plotWindow(), nullptr);

  dialogs.shown.clear();
  panel().menuAction(QStringLiteral("About"))->trigger();
  ASSERT_EQ(dialogs.of(QStringLiteral("message")).size(), 1u);
  const QString about = dialogs.of(QStringLiteral("message"))[0].text;
  EXPECT_TRUE(about.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())))
      << about.toStdString();
  EXPECT_TRUE(about.contains(QRegularExpression(QStringLiteral(R"(hidapi \d+\.\d+)"))))
      << about.toStdString();
  EXPECT_TRUE(about.contains(QStringLiteral("GPL-3.0-or-later")));
}

}  // namespace
}  // namespace solardesk
