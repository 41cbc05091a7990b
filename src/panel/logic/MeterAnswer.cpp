#include "MeterAnswer.h"

namespace solardesk {
namespace {

bool SayUnless(Instrument& instrument, bool answered) {
  if (!answered)
    instrument.dialogs.message(NoAnswerMessage(instrument.link), kProgramTitle,
                               MessageIcon::Information);
  return answered;
}

}  // namespace

const QString& NoAnswerMessage(const MeterLink& link) {
  return link.MeterPresence() == MeterLink::Presence::NotAnswering ? kNotAnsweringMessage
                                                                   : kNotConnectedMessage;
}

// An exchange whose read timed out, or that found no meter to write to, ends disconnected.
bool AnsweredOrSay(Instrument& instrument) {
  return SayUnless(instrument, instrument.link.MeterConnected() && instrument.link.EverAnswered());
}

bool EverAnsweredOrSay(Instrument& instrument) {
  return SayUnless(instrument, instrument.link.EverAnswered());
}

}  // namespace solardesk
