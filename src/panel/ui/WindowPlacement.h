#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace solardesk {

// Every window of the program opens through PlaceWindow. Where window places are remembered, a
// window with an object name opens at the place and size it had when it was last hidden, as long
// as that place is still (fully or mostly) on a screen; otherwise the rule below runs. A window
// placed against the main window keeps its place as seen from the main window: when the main
// window has moved since, the window moves with it instead of opening apart from it. A secondary
// window asks for its place against the main window (beside its right edge, below another window,
// centred over it); the place is kept where the whole window fits on the screen there, and
// otherwise the window moves onto that screen's available area, shrinking (where it may) when it is
// larger than the area. Once the window is shown and its frame is known, the same rule runs once
// more.
void PlaceWindow(QWidget& window, QPoint frameTopLeft, const QWidget* mainWindow);

// Window places are remembered across runs (the user's settings, per window by object name) once
// the program turns this on; off, no window reads or writes a remembered place.
void RememberWindowPlaces(bool on);

// For a window placed by the window system (the main window): takes the remembered place where
// it is still on a screen, true then; from now on the window's place is remembered when it hides.
bool RestoreWindowPlace(QWidget& window);

// Whether a remembered frame is still mostly (at least three quarters of it) inside `area`.
bool MostlyInside(const QRect& frame, const QRect& area);

// The places asked for: the left edge at the main window's right edge and the top at `top`
// (the main window's top by default); horizontally centred over the main window, `belowTop`
// pixels below its top.
QPoint BesideMain(const QWidget& mainWindow);
QPoint BesideMain(const QWidget& mainWindow, int top);
QPoint CentredOver(const QWidget& window, const QWidget& mainWindow, int belowTop);

// Secondary windows open beside the main window (a null main window leaves the place as it is).
void PlaceBesideMain(QWidget& window, const QWidget* mainWindow);

// A window frame moved (and cut to the area's size where it is larger) so that it lies inside
// `area`; a frame already inside comes back unchanged.
QRect OntoArea(QRect frame, const QRect& area);

}  // namespace solardesk
