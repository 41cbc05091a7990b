#include "FrontPanelKeys.h"

#include "link/Commands.h"

namespace solardesk {

unsigned KeyCode(KeyId key) {
  switch (key) {
    case KeyId::OnOff:
      return cmd::kKeyOnOff;
    case KeyId::Time:
      return cmd::kKeyTime;
    case KeyId::Hold:
      return cmd::kKeyHold;
    case KeyId::MxMn:
      return cmd::kKeyMaxMin;
    case KeyId::Set:
      return cmd::kKeySet;
    case KeyId::Power:
      return cmd::kKeyPower;
    case KeyId::Unit:
      return cmd::kKeyUnit;
    case KeyId::Enter:
      return cmd::kKeyEnter;
    case KeyId::Zero:
      return cmd::kKeyZero;
    case KeyId::Mem:
      return cmd::kKeyMem;
    case KeyId::Up:
      return cmd::kKeyUp;
    case KeyId::Read:
      return cmd::kKeyRead;
    case KeyId::Down:
      return cmd::kKeyDown;
  }
  return 0;
}

bool IsTimedKey(KeyId key) {
  return key == KeyId::MxMn || key == KeyId::Mem;
}

bool IsLongPress(float downSeconds, float upSeconds) {
  return upSeconds - downSeconds >= 2.0f;
}

unsigned ReleaseCode(KeyId key, float downSeconds, float upSeconds) {
  if (!IsLongPress(downSeconds, upSeconds)) return KeyCode(key);
  if (key == KeyId::MxMn) return cmd::kKeyMaxMinLong;
  if (key == KeyId::Mem) return cmd::kKeyMemLong;
  return KeyCode(key);
}

bool LoggerFull(std::uint8_t setCount) {
  return setCount >= kMaxLoggerSets;
}

void FrontPanelKeys::Press(KeyId key) {
  if (IsTimedKey(key)) keyDownTime_ = instrument_.clock.secondsSinceMidnight();
}

std::uint8_t FrontPanelKeys::QuerySetCount() {
  instrument_.byteSlots.setCommand(cmd::kQuery, cmd::kQuerySetCount);
  instrument_.link.TransactReport();
  instrument_.LoggerSetCount = instrument_.link.InputByte(1);
  return instrument_.LoggerSetCount;
}

std::optional<unsigned> FrontPanelKeys::Release(KeyId key,
                                                const std::function<void()>& restoreCap) {
  instrument_.PauseTimers();
  std::optional<unsigned> sent;
  if (key != KeyId::Mem || !LoggerFull(QuerySetCount())) {
    // The duration is taken only now, after a MEM set-count query has had its answer.
    sent = ReleaseCode(key, keyDownTime_, instrument_.clock.secondsSinceMidnight());
    instrument_.byteSlots.setCommand(cmd::kAction, *sent);
    instrument_.link.SendOutputReport();
  }
  if (restoreCap) restoreCap();
  instrument_.ResumeTimers();
  return sent;
}

}  // namespace solardesk
