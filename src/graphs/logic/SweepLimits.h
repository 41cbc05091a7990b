#pragma once

#include <QChar>
#include <QString>

#include "SweepGraph.h"

namespace solardesk {

// The texts of the limits panel's entry fields `TxtMax`, `TxtMin` and `TxtCounts`.
struct LimitTexts {
  QString max;
  QString min;
  QString counts;
};

// The fields as "Limit" fills them: the limits now in force and the points of one sweep.
LimitTexts LimitsForEditing(const SweepGraph& graph);

enum class LimitsVerdict { Accepted, ValueRefused, CountsRefused };

inline const QString kValueRangeMessage = QStringLiteral("0 <= Value <= 10000, try again!");
inline const QString kCountsRangeMessage = QStringLiteral("10 <= Counts <= 864000, try again!");

// `CmdOK`: checks the limits, stores them, then checks the counts and sets the step width. The
// limits are stored before the counts are checked, so refused counts leave new limits in force
// (while the axis labels still show the old ones until the next layout). After Accepted the
// caller runs the layout.
LimitsVerdict ApplyLimits(const LimitTexts& texts, SweepGraph& graph);

// The entry fields and their key filters. Keys come as characters: '\b' for Backspace, '\r'
// for Enter.
enum class LimitField { Max, Min, Counts };
bool LimitKeyAllowed(LimitField field, QChar key);

// Enter walks down the panel: Max to Min, Min to Counts, and in Counts applies the values.
enum class EnterStep { FocusMin, FocusCounts, Apply };
EnterStep EnterIn(LimitField field);

}  // namespace solardesk
