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

// Shows a field's text. The list's current entry follows it (or is none when no entry reads
// so): a list whose entry differs from its text would take a focus change for a pick of the
// entry that reads the text.
void ShowFieldText(QComboBox& list, const QString& text);

QGroupBox* MakeFrame(QWidget& parent, const char* name, const char* caption, QRect geometry);
QPushButton* MakePanelButton(QWidget& parent, const char* name, const char* caption, int x, int y);

// OK of a schedule panel: a field outside its range (`refusal`, the message) or a schedule that
// has no output report (a field outside 0..255) is refused with a message and the panel stays
// open; otherwise pauses both main-window timers, writes the report, hides the panel and
// enables both timers again.
void WriteScheduleAndClose(Instrument& instrument, const std::optional<QString>& refusal,
                           const std::optional<Report>& report, QWidget& panel);

inline const QString kFieldNotAByte = QStringLiteral("Each field must be a number from 0 to 255.");

}  // namespace solardesk
