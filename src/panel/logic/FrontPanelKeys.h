#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "Instrument.h"
#include "KeyId.h"

namespace solardesk {

// The key code a key sends, as the meter knows it (class 0x01). MX/Mn and MEM answer with their
// short-press code here; their long-press codes come from ReleaseCode.
unsigned KeyCode(KeyId key);

// Keys whose code depends on how long they were held (MX/Mn and MEM).
bool IsTimedKey(KeyId key);

// A press is long when it lasted 2 seconds or more. Both moments are seconds since midnight, so
// a press held across midnight gives a negative duration and counts as short.
bool IsLongPress(float downSeconds, float upSeconds);

// The code a release sends: the short code, or for MX/Mn and MEM the long code after a long press.
unsigned ReleaseCode(KeyId key, float downSeconds, float upSeconds);

// The meter takes no MEM key press while its logger holds this many record sets or more.
inline constexpr std::uint8_t kMaxLoggerSets = 150;
bool LoggerFull(std::uint8_t setCount);

// The key handlers of the meter picture, without the picture: a press notes the moment, a
// release sends the code with both main-window timers paused. Only one key is held at a time.
class FrontPanelKeys {
 public:
  explicit FrontPanelKeys(Instrument& instrument) : instrument_(instrument) {}

  // Mouse down on a key. Notes the moment for MX/Mn and MEM only.
  void Press(KeyId key);

  // Mouse up on a key: pauses Timer1 and Timer2, sends the code (MEM asks the meter for its set
  // count first and sends nothing when the logger is full), calls `restoreCap` so the key cap
  // gets its colour back, then enables Timer1 and Timer2 whatever their state was before.
  // Returns the code sent, or nothing when MEM dropped the press.
  std::optional<unsigned> Release(KeyId key, const std::function<void()>& restoreCap = {});

  // The moment of the last press of MX/Mn or MEM, in seconds since midnight.
  float KeyDownTime() const { return keyDownTime_; }

 private:
  // Asks the meter how many record sets its logger holds and keeps the answer.
  std::uint8_t QuerySetCount();

  Instrument& instrument_;
  float keyDownTime_ = 0;
};

}  // namespace solardesk
