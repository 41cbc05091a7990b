#include <gtest/gtest.h>

#include "graphs/logic/TrackModes.h"

namespace solardesk {
namespace {

TEST(TrackModes, ListTheEightModesWithTheirCodesInOrder) {
  const char* names[] = {"Normal", "Cursor Coordinates", "PanXY", "PanX", "PanY", "ZoomXY", "ZoomX",
                         "ZoomY"};
  const auto& modes = TrackModes();
  for (int i = 0; i < 8; ++i) {
    EXPECT_STREQ(modes[static_cast<std::size_t>(i)].name, names[i]);
    EXPECT_EQ(modes[static_cast<std::size_t>(i)].code, i + 1);
  }
}

TEST(TrackModes, OnlyTheCursorModeShowsCursorOne) {
  for (const TrackMode& m : TrackModes()) {
    EXPECT_EQ(m.cursor1Shown(), QString::fromLatin1(m.name) == QStringLiteral("Cursor Coordinates"))
        << m.name;
  }
}

TEST(TrackModes, PanAndZoomActAlongTheAxesTheirNamesSay) {
  for (const TrackMode& m : TrackModes()) {
    const QString name = QString::fromLatin1(m.name);
    if (m.drag != DragAction::Pan && m.drag != DragAction::Zoom) continue;
    EXPECT_EQ(m.alongX, name.endsWith(QStringLiteral("X")) || name.endsWith(QStringLiteral("XY")))
        << m.name;
    EXPECT_EQ(m.alongY, name.endsWith(QStringLiteral("Y"))) << m.name;
    EXPECT_EQ(m.drag == DragAction::Pan, name.startsWith(QStringLiteral("Pan"))) << m.name;
  }
}

TEST(TrackModes, AnIndexOutOfRangeGivesNormal) {
  EXPECT_STREQ(TrackModeAt(-1).name, "Normal");
  EXPECT_STREQ(TrackModeAt(8).name, "Normal");
  EXPECT_STREQ(TrackModeAt(7).name, "ZoomY");
}

}  // namespace
}  // namespace solardesk
