#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QStringList>
#include <optional>

#include "FieldText.h"
#include "panel/logic/Instrument.h"

namespace solardesk {

// What the two schedule panels share.

// Puts a row of field titles over a row of lists into a frame, left to right.
void PlaceFieldRow(QGroupBox& frame, const QStringList& titles, QComboBox* const* lists);

QGroupBox* MakeFrame(QWidget& parent, const char* name, const char* caption, QRect geometry);
QPushButton* MakePanelButton(QWidget& parent, const char* name, const char* caption, int x, int y);

// OK of a schedule panel: refuses a schedule that has no output report (a field outside
// 0..255) with a message and leaves the panel open; otherwise pauses both main-window timers,
// writes the report, hides the panel and enables both timers again.
void WriteScheduleAndClose(Instrument& instrument, const std::optional<Report>& report,
                           QWidget& panel);

inline const QString kFieldNotAByte = QStringLiteral("Each field must be a number from 0 to 255.");

}  // namespace solardesk
