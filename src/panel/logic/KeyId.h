#pragma once

namespace solardesk {

// The thirteen keys of the meter picture, in their places: four rows of left, centre and
// right keys, DOWN below UP.
enum class KeyId { OnOff, Time, Hold, MxMn, Set, Power, Unit, Enter, Zero, Mem, Up, Read, Down };
inline constexpr int kKeyCount = 13;

}  // namespace solardesk
