#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "RecordingFixture.h"
#include "app/QtDialogs.h"
#include "logger/ui/LoggerCommands.h"
#include "recording/logic/DataFileFormat.h"
#include "recording/ui/StatisticsWindow.h"

namespace solardesk {
namespace {

using testing::ProgramTest;

class DialogOwnerTest : public ProgramTest {
 protected:
  MemoryWindow* OpenMemory() {
    meter->AddSet(QStringLiteral("12/03/04 05:06:07"), QStringLiteral("60"), QStringLiteral("W"),
                  {QStringLiteral("1")});
    panel().clickToolbar(QStringLiteral("Logger"));
    return program.logger().memory();
  }
  // Clicks `button` on the toolbar of `window`; gives the window.
  template <typename Window>
  const QObject* Click(Window* window, const char* button) {
    window->clickToolbar(QString::fromLatin1(button));
    return window;
  }
};

// Every dialog opens over the window whose command raised it; the main window's own commands
// keep theirs.
TEST_F(DialogOwnerTest, EachDialogBelongsToTheWindowWhoseCommandRaisedIt) {
  const QByteArray file = HeaderText(kUnitWatts).toLatin1() + "\r\n      1\t2026/12/04\t 5\t\r\n";
  const QByteArray empty = HeaderText(kUnitWatts).toLatin1() + "\r\n";
  // Each command, the kind of dialog it raises and the run that gives the window owning it.
  const std::tuple<const char*, const char*, std::function<const QObject*()>> cases[] = {
      {"main Save", "save", [&] { return Click(&panel(), "Save"); }},
      {"live graph Limit", "message",
       [&] {
         panel().clickToolbar(QStringLiteral("Graph"));
         RealTimeGraph* graph = program.liveGraph();
         graph->Limit();
         graph->TxtMax->setText(QStringLiteral("20000"));
         graph->CmdOK->click();
         graph->CmdCancel->click();
         return graph;
       }},
      {"live graph Print", "printer",
       [&] {
         program.liveGraph()->Print();
         return program.liveGraph();
       }},
      {"file list Print", "printer",
       [&] { return Click(OpenFile(QStringLiteral("a.pvd"), file), "Print"); }},
      {"file list Plot of nothing", "message",
       [&] { return Click(OpenFile(QStringLiteral("h.pvd"), empty), "Plot"); }},
      {"plot Print", "printer",
       [&] {
         OpenFile(QStringLiteral("a.pvd"), file)->clickToolbar(QStringLiteral("Plot"));
         program.plotWindow()->CmdPrint->click();
         return program.plotWindow();
       }},
      {"plot Add file", "open",
       [&] {
         OpenFile(QStringLiteral("a.pvd"), file)->clickToolbar(QStringLiteral("Plot"));
         dialogs.shown.clear();  // the main window's "Open" of the listed file
         program.plotWindow()->CmdAddFile->click();
         return program.plotWindow();
       }},
      {"file list Export CSV", "save",
       [&] { return Click(OpenFile(QStringLiteral("a.pvd"), file), "Export CSV"); }},
      {"statistics Export CSV", "save",
       [&] {
         const QByteArray timed =
             HeaderText(kUnitWatts).toLatin1() + "\r\n      1\t2026/12/04 10:00:00\t 5\t\r\n";
         OpenFile(QStringLiteral("t.pvd"), timed)->clickToolbar(QStringLiteral("Statistics"));
         dialogs.shown.clear();
         StatisticsWindow* statistics = recording().statisticsWindow();
         if (statistics) statistics->CmdExport->click();
         return static_cast<const QObject*>(statistics);
       }},
      {"live list Save", "save",
       [&] {
         Click(&panel(), "List");
         return Click(recording().realTimeList(), "Save");
       }},
      {"live list Print", "printer", [&] { return Click(recording().realTimeList(), "Print"); }},
      {"logger gauge erase", "message",
       [&] {
         MemoryWindow* memory = OpenMemory();
         emit memory->MSize->clicked();
         return memory;
       }},
      {"data list Save", "save",
       [&] {
         OpenMemory()->ChooseRow(0);
         return Click(recording().dataList(), "Save");
       }},
  };
  for (const auto& [command, kind, run] : cases) {
    dialogs.shown.clear();
    const QObject* window = run();
    ASSERT_NE(window, nullptr) << command;
    const auto shown = dialogs.of(QString::fromLatin1(kind));
    ASSERT_EQ(shown.size(), 1u) << command;
    EXPECT_EQ(shown[0].owner, window) << command;
  }
  // Outside any command nothing claims the dialogs: the main window has them.
  EXPECT_EQ(dialogs.owner(), nullptr);
}

// The Qt dialogs open over the window of the command. A save dialog adds ".pvd" to a name typed
// without an extension while the data-file filter is chosen, and only then.
TEST_F(DialogOwnerTest, QtDialogsOpenOverTheOwnerAndSaveWithTheFiltersExtension) {
  QWidget main;
  QWidget other;
  main.show();
  other.show();
  QtDialogs qt(&main);
  const QString folder = dir.path();

  QWidget* messageParent = nullptr;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    messageParent = box->parentWidget();
    box->accept();
  });
  {
    const DialogOwner owner(qt, &other);
    qt.message(QStringLiteral("m"), kProgramTitle, MessageIcon::Information, MessageButtons::Ok);
  }
  EXPECT_EQ(messageParent, &other);

  // The filter chosen (0: "Data Files (*.pvd)", 1: "All Files (*.*)"), the name typed, the file.
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, "rec1", "rec1.pvd"}, {1, "rec2", "rec2"}, {0, "rec3.txt", "rec3.txt"}};
  for (const auto& [filter, typed, saved] : cases) {
    QWidget* dialogParent = nullptr;
    QTimer::singleShot(0, [&, filter = filter, typed = typed] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialogParent = dialog->parentWidget();
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_TRUE(types && name);
      types->setFocus();
      if (filter == 1) QTest::keyClick(types, Qt::Key_Down);  // as a person picks it
      name->setText(QString::fromLatin1(typed));
      QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
    });
    QString path;
    {
      const DialogOwner owner(qt, &other);
      path = qt.saveFileName(kDataFileFilter, folder);
    }
    EXPECT_EQ(dialogParent, &other) << typed;
    EXPECT_EQ(path, QDir(folder).filePath(QString::fromLatin1(saved))) << typed;
  }
}

// A choice from a list opens over the owner with the current item chosen and no editing; OK
// gives the item picked, Cancel nothing.
TEST_F(DialogOwnerTest, QtChoiceOpensOverTheOwnerWithTheCurrentItem) {
  QWidget main;
  QWidget other;
  main.show();
  other.show();
  QtDialogs qt(&main);
  const QStringList items{QStringLiteral("first"), QStringLiteral("second"),
                          QStringLiteral("third")};
  for (const bool accept : {true, false}) {
    QWidget* parent = nullptr;
    QString shown;
    bool editable = true;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      parent = dialog->parentWidget();
      auto* list = dialog->findChild<QComboBox*>();
      ASSERT_NE(list, nullptr);
      shown = list->currentText();
      editable = list->isEditable();
      list->setFocus();
      QTest::keyClick(list, Qt::Key_Up);  // as a person picks the item above
      QMetaObject::invokeMethod(dialog, accept ? "accept" : "reject");
    });
    std::optional<int> chosen;
    {
      const DialogOwner owner(qt, &other);
      chosen = qt.choose(QStringLiteral("Pick:"), kProgramTitle, items, 1);
    }
    EXPECT_EQ(parent, &other);
    EXPECT_EQ(shown, "second");
    EXPECT_FALSE(editable);
    EXPECT_EQ(chosen, accept ? std::optional<int>(0) : std::nullopt);
  }
}

}  // namespace
}  // namespace solardesk
