#pragma once

#include <QString>

#include "Instrument.h"

namespace solardesk {

// Commands whose meter answer has no sound stand-in stop with one of these messages (information
// icon) instead of showing an earlier answer, or nothing, as if it were the meter's: the first
// when no meter could be opened, the second when one is plugged in but stays silent.
inline const QString kNotConnectedMessage = QStringLiteral("The meter is not connected.");
inline const QString kNotAnsweringMessage = QStringLiteral("The meter is not answering.");

// The message for a meter without an answer, as the link last found it.
const QString& NoAnswerMessage(const MeterLink& link);

// After an exchange: true when it brought the meter's answer; otherwise says NoAnswerMessage
// and gives false.
bool AnsweredOrSay(Instrument& instrument);

// True when the meter has answered anything since start-up; otherwise says NoAnswerMessage and
// gives false. For commands that may show an older answer but must never show none.
bool EverAnsweredOrSay(Instrument& instrument);

}  // namespace solardesk
