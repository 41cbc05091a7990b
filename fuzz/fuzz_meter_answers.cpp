#include <cstddef>
#include <cstdint>

#include "panel/logic/DisplayDecode.h"

using namespace solardesk;

// Any bytes as an input report: the display decode and every reader of the meter's answers
// must take them without reading past the end.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> report(data, data + size);
  if (const auto flags = DecodeDisplayImage(report)) {
    const QString text = MakeReadingText(*flags);
    if (text.size() < 4 || text.size() > 5) __builtin_trap();
    MakeReadingUnit(*flags);
    // Encoding what was decoded gives back the bits the map uses.
    const auto again = DecodeDisplayImage([&] {
      std::vector<std::uint8_t> r(31, 0);
      const auto image = EncodeDisplayImage(*flags);
      std::copy(image.begin(), image.end(), r.begin() + 1);
      return r;
    }());
    if (!again || !(*again == *flags)) __builtin_trap();
  }
  return 0;
}
