#pragma once

#include <QString>

#include "Instrument.h"

namespace solardesk {

// Commands whose meter answer has no sound stand-in stop with this message (information icon)
// instead of showing an earlier answer, or nothing, as if it were the meter's.
inline const QString kNotConnectedMessage = QStringLiteral("The meter is not connected.");

// After an exchange: true when it brought the meter's answer; otherwise says
// kNotConnectedMessage and gives false.
bool AnsweredOrSay(Instrument& instrument);

// True when the meter has answered anything since start-up; otherwise says kNotConnectedMessage
// and gives false. For commands that may show an older answer but must never show none.
bool EverAnsweredOrSay(Instrument& instrument);

}  // namespace solardesk
