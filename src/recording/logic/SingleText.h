#pragma once

#include <QString>

namespace solardesk {

// A single-precision number in its shortest text, the way the program has always printed its
// record counters: at most seven significant figures, no trailing zeros, and exponent form
// ("1E+07", "1.677722E+07") from ten million on or for very small magnitudes.
QString SingleText(float value);

}  // namespace solardesk
