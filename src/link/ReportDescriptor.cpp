#include "ReportDescriptor.h"

#include <map>

namespace solardesk {
namespace {

struct GlobalState {
  std::uint64_t reportSize = 0;
  std::uint64_t reportCount = 0;
  unsigned reportId = 0;
};

constexpr std::uint64_t kMaxReportBits = std::uint64_t{1} << 24;  // far beyond any real device

int LongestReport(const std::map<unsigned, std::uint64_t>& bitsById) {
  std::uint64_t longest = 0;
  for (const auto& [id, bits] : bitsById) longest = std::max(longest, (bits + 7) / 8);
  return bitsById.empty() ? 0 : static_cast<int>(longest) + 1;
}

}  // namespace

std::optional<ReportLengths> ParseReportDescriptor(const std::vector<std::uint8_t>& d) {
  if (d.empty()) return std::nullopt;
  GlobalState global;
  std::vector<GlobalState> stack;
  std::map<unsigned, std::uint64_t> inputBits, outputBits;
  bool numbered = false;

  std::size_t i = 0;
  while (i < d.size()) {
    const std::uint8_t prefix = d[i];
    if (prefix == 0xFE) {  // long item: size, tag, data
      if (i + 2 >= d.size()) return std::nullopt;
      const std::size_t size = d[i + 1];
      if (i + 3 + size > d.size()) return std::nullopt;
      i += 3 + size;
      continue;
    }
    const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
    if (i + 1 + size > d.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < size; ++k) value |= std::uint64_t{d[i + 1 + k]} << (8 * k);
    const unsigned type = (prefix >> 2) & 3;
    const unsigned tag = (prefix >> 4) & 0xF;
    i += 1 + size;

    if (type == 0) {  // main item
      if (tag == 8 || tag == 9) {
        const std::uint64_t bits = global.reportSize * global.reportCount;
        auto& table = tag == 8 ? inputBits : outputBits;
        std::uint64_t& total = table[global.reportId];
        total += bits;
        if (global.reportSize > kMaxReportBits || global.reportCount > kMaxReportBits ||
            total > kMaxReportBits)
          return std::nullopt;
      }
    } else if (type == 1) {  // global item
      switch (tag) {
        case 7:
          global.reportSize = value;
          break;
        case 8:
          if (value == 0 || value > 255) return std::nullopt;
          global.reportId = static_cast<unsigned>(value);
          numbered = true;
          break;
        case 9:
          global.reportCount = value;
          break;
        case 10:
          stack.push_back(global);
          break;
        case 11:
          if (stack.empty()) return std::nullopt;
          global = stack.back();
          stack.pop_back();
          break;
        default:
          break;
      }
    }
    // Local items and reserved types do not change report lengths.
  }
  if (inputBits.empty() && outputBits.empty()) return std::nullopt;
  return ReportLengths{LongestReport(inputBits), LongestReport(outputBits), numbered};
}

}  // namespace solardesk
