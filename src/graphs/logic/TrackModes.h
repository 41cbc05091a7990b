#pragma once

#include <QString>
#include <array>

namespace solardesk {

// What dragging with the mouse does on the file plot.
enum class DragAction { Nothing, MoveCursor, Pan, Zoom };

// One entry of the plot's `Combo1`. Pans and zooms act along the axes flagged here; cursor 1 is
// shown only while dragging moves it, cursor 2 never.
struct TrackMode {
  int code;  // the graph's own code, 1 to 8 in list order
  const char* name;
  const char* help;
  DragAction drag;
  bool alongX;
  bool alongY;

  bool cursor1Shown() const { return drag == DragAction::MoveCursor; }
};

// The eight modes in list order; the first, "Normal", is selected when the plot opens.
const std::array<TrackMode, 8>& TrackModes();

// The mode with this list index; out-of-range indexes give "Normal".
const TrackMode& TrackModeAt(int index);

}  // namespace solardesk
