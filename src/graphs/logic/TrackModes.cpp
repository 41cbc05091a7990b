#include "TrackModes.h"

namespace solardesk {

const std::array<TrackMode, 8>& TrackModes() {
  static const std::array<TrackMode, 8> modes{{
      {1, "Normal", "Normal mode", DragAction::Nothing, false, false},
      {2, "Cursor Coordinates",
       "Drag the cursor with your mouse to get X (Count) and Y (dB) position.",
       DragAction::MoveCursor, true, true},
      {3, "PanXY",
       "Click anywhere on the plot area and drag to pan the graph both horizontally and "
       "vertically.",
       DragAction::Pan, true, true},
      {4, "PanX", "Click anywhere on the plot area and drag to pan the graph horizontally.",
       DragAction::Pan, true, false},
      {5, "PanY", "Click anywhere on the plot area and drag to pan the graph vertically.",
       DragAction::Pan, false, true},
      {6, "ZoomXY", "Select a region on the graph to zoom both horizontally and vertically.",
       DragAction::Zoom, true, true},
      {7, "ZoomX", "Select a region on the graph to zoom horizontally.", DragAction::Zoom, true,
       false},
      {8, "ZoomY", "Select a region on the graph to zoom vertically.", DragAction::Zoom, false,
       true},
  }};
  return modes;
}

const TrackMode& TrackModeAt(int index) {
  const auto& modes = TrackModes();
  if (index < 0 || index >= static_cast<int>(modes.size())) return modes[0];
  return modes[static_cast<std::size_t>(index)];
}

}  // namespace solardesk
