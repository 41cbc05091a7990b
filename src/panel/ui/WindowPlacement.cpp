#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace solardesk {
namespace {

QMargins FrameMargins(const QWidget& w) {
  const QRect frame = w.frameGeometry();
  const QRect inner = w.geometry();
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

// The available area of the screen that holds `point`, else of the main window's screen.
QRect AvailableArea(QPoint point, const QWidget* mainWindow, const QWidget& window) {
  QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen && mainWindow)
    screen = QGuiApplication::screenAt(mainWindow->frameGeometry().center());
  if (!screen && mainWindow) screen = mainWindow->screen();
  if (!screen) screen = window.screen();
  return screen ? screen->availableGeometry() : QRect();
}

// The size the window will have when it shows: its own once it was sized, else what its
// layout asks for, never below its minimum.
QSize ShownSize(const QWidget& window) {
  QSize size = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
  if (!size.isValid()) size = window.size();
  return size.expandedTo(window.minimumSizeHint()).expandedTo(window.minimumSize());
}

void MoveFrame(QWidget& window, QRect frame, const QMargins& margins, const QRect& area) {
  if (!area.isValid()) {
    window.move(frame.topLeft());
    return;
  }
  const QRect placed = OntoArea(frame, area);
  if (placed.size() != frame.size()) {
    const QSize inner = placed.size().shrunkBy(margins);
    window.resize(inner.expandedTo(window.minimumSize()));
  }
  window.move(placed.topLeft());
}

bool rememberPlaces = false;

// Whether the window has its helper named `name` already. (The helpers have no meta-object of
// their own, so they are told apart by name: a cast would take any child for one.)
bool HasHelper(const QWidget& window, const char* name) {
  return window.findChild<QObject*>(QLatin1String(name), Qt::FindDirectChildrenOnly) != nullptr;
}

// The window's frame (its place) and its inner size, under its object name. A window placed
// against the main window keeps its frame as seen from the main window's top left, so that it
// follows the main window when that moves (within a run or between runs), under a key of its
// own: an absolute place left by an older run never applies to it.
QString PlaceKey(const QWidget& window, const char* what) {
  return QStringLiteral("windows/%1/%2").arg(window.objectName(), QLatin1String(what));
}
constexpr char kFrameKey[] = "frame";
constexpr char kFrameFromMainKey[] = "frameFromMain";

QSettings Settings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("SolarDesk"),
                   QStringLiteral("SolarDesk"));
}

// Where the frame keys are counted from: the main window's frame's top left, else the screen's
// origin.
QPoint Origin(const QWidget* mainWindow) {
  return mainWindow ? mainWindow->frameGeometry().topLeft() : QPoint();
}

// Keeps the window's frame in the settings whenever the window hides (closing hides it too).
class RememberWhenHidden final : public QObject {
 public:
  RememberWhenHidden(QWidget& window, const QWidget* mainWindow)
      : QObject(&window), mainWindow_(mainWindow), placedAgainstMain_(mainWindow != nullptr) {
    setObjectName(kName);
  }
  static constexpr char kName[] = "RememberWhenHidden";

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::Hide || !window || !rememberPlaces || window->isMinimized())
      return false;
    // With the main window gone, there is nothing to count the place from.
    if (placedAgainstMain_ && !mainWindow_) return false;
    QSettings settings = Settings();
    const char* key = placedAgainstMain_ ? kFrameFromMainKey : kFrameKey;
    settings.setValue(PlaceKey(*window, key),
                      window->frameGeometry().translated(-Origin(mainWindow_.data())));
    settings.setValue(PlaceKey(*window, "size"), window->size());
    if (placedAgainstMain_) settings.remove(PlaceKey(*window, kFrameKey));
    return false;
  }

 private:
  QPointer<const QWidget> mainWindow_;
  bool placedAgainstMain_;
};

struct Remembered {
  QRect frame;
  QSize size;  // inside the frame
  QRect area;  // the available area of the screen the frame is mostly on
};

// The remembered place of the window, or nothing where there is none or it is no longer mostly
// on any screen.
std::optional<Remembered> RememberedPlace(QWidget& window, const QWidget* mainWindow) {
  if (!rememberPlaces || window.objectName().isEmpty()) return std::nullopt;
  if (!HasHelper(window, RememberWhenHidden::kName))
    window.installEventFilter(new RememberWhenHidden(window, mainWindow));
  const QSettings settings = Settings();
  const char* key = mainWindow ? kFrameFromMainKey : kFrameKey;
  const QRect frame = settings.value(PlaceKey(window, key)).toRect().translated(Origin(mainWindow));
  const QSize size = settings.value(PlaceKey(window, "size")).toSize();
  if (!frame.isValid() || !size.isValid()) return std::nullopt;
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (MostlyInside(frame, screen->availableGeometry()))
      return Remembered{frame, size, screen->availableGeometry()};
  }
  return std::nullopt;
}

// A fixed-size window keeps its size; others take the remembered one.
bool Resizable(const QWidget& window) {
  return window.minimumSize() != window.maximumSize();
}

// Runs the rule once more when the window first shows, with the frame the window system gave.
class PlaceWhenShown final : public QObject {
 public:
  PlaceWhenShown(QWidget& window, const QWidget* mainWindow)
      : QObject(&window), mainWindow_(mainWindow) {
    setObjectName(kName);
  }
  static constexpr char kName[] = "PlaceWhenShown";

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    auto* window = qobject_cast<QWidget*>(watched);
    QPointer<const QWidget> main = mainWindow_;
    QTimer::singleShot(0, window, [window, main] {
      const QRect frame = window->frameGeometry();
      MoveFrame(*window, frame, FrameMargins(*window),
                AvailableArea(frame.topLeft(), main.data(), *window));
    });
    deleteLater();
    window->removeEventFilter(this);
    return false;
  }

 private:
  QPointer<const QWidget> mainWindow_;
};

// The remembered place of the window (counted from the main window's where one is given) applied
// where it is still on a screen, true then.
bool RestorePlace(QWidget& window, const QWidget* mainWindow) {
  const std::optional<Remembered> remembered = RememberedPlace(window, mainWindow);
  if (!remembered) return false;
  if (Resizable(window))
    window.resize(
        remembered->size.expandedTo(window.minimumSize()).boundedTo(window.maximumSize()));
  // The frame's own margins: the window's own once shown, else the remembered ones.
  const QSize inner = ShownSize(window);
  const QMargins margins = window.isVisible() ? FrameMargins(window) : [&] {
    const QRect f = remembered->frame;
    const QSize s = remembered->size;
    return QMargins(0, f.height() - s.height(), f.width() - s.width(), 0);
  }();
  MoveFrame(window, QRect(remembered->frame.topLeft(), inner.grownBy(margins)), margins,
            remembered->area);
  return true;
}

}  // namespace

void RememberWindowPlaces(bool on) {
  rememberPlaces = on;
}

bool MostlyInside(const QRect& frame, const QRect& area) {
  if (frame.isEmpty()) return false;
  const QRect inside = frame.intersected(area);
  const qint64 insideArea = qint64{inside.width()} * inside.height();
  return 4 * insideArea >= 3 * qint64{frame.width()} * frame.height();
}

bool RestoreWindowPlace(QWidget& window) {
  return RestorePlace(window, nullptr);
}

QRect OntoArea(QRect frame, const QRect& area) {
  frame.setSize(frame.size().boundedTo(area.size()));
  if (frame.right() > area.right()) frame.moveRight(area.right());
  if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
  if (frame.left() < area.left()) frame.moveLeft(area.left());
  if (frame.top() < area.top()) frame.moveTop(area.top());
  return frame;
}

void PlaceWindow(QWidget& window, QPoint frameTopLeft, const QWidget* mainWindow) {
  if (!RestorePlace(window, mainWindow)) {
    // Before the window shows, its frame is not known: the main window's stands in for it.
    const QMargins margins =
        window.isVisible() || !mainWindow ? FrameMargins(window) : FrameMargins(*mainWindow);
    const QRect frame(frameTopLeft, ShownSize(window).grownBy(margins));
    MoveFrame(window, frame, margins, AvailableArea(frameTopLeft, mainWindow, window));
  }
  if (!window.isVisible() && !HasHelper(window, PlaceWhenShown::kName))
    window.installEventFilter(new PlaceWhenShown(window, mainWindow));
}

QPoint BesideMain(const QWidget& mainWindow) {
  return BesideMain(mainWindow, mainWindow.frameGeometry().top());
}

QPoint BesideMain(const QWidget& mainWindow, int top) {
  const QRect main = mainWindow.frameGeometry();
  return {main.x() + main.width(), top};
}

QPoint CentredOver(const QWidget& window, const QWidget& mainWindow, int belowTop) {
  const QRect main = mainWindow.frameGeometry();
  const int width = window.isVisible() ? window.frameGeometry().width() : ShownSize(window).width();
  return {main.x() + (main.width() - width) / 2, main.y() + belowTop};
}

void PlaceBesideMain(QWidget& window, const QWidget* mainWindow) {
  if (mainWindow == nullptr) return;
  PlaceWindow(window, BesideMain(*mainWindow), mainWindow);
}

}  // namespace solardesk
