#include <gtest/gtest.h>

#include <tuple>

#include "link/ReportDescriptor.h"

namespace solardesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A vendor-defined device with one unnumbered 64-byte input and output report, as meters of
// this kind describe themselves.
const Bytes kMeter = {
    0x06, 0x00, 0xFF,                    // usage page (vendor)
    0x09, 0x01,                          // usage
    0xA1, 0x01,                          // collection (application)
    0x15, 0x00,                          // logical minimum 0
    0x26, 0xFF, 0x00,                    // logical maximum 255
    0x75, 0x08,                          // report size 8
    0x95, 0x40,                          // report count 64
    0x09, 0x01, 0x81, 0x02,              // input
    0x95, 0x40, 0x09, 0x01, 0x91, 0x02,  // output
    0xC0,
};

// Input and output report lengths and whether reports are numbered; -1 for a refused descriptor.
std::tuple<int, int, bool> Lengths(const Bytes& descriptor) {
  const auto r = ParseReportDescriptor(descriptor);
  return r ? std::tuple(r->input, r->output, r->numbered) : std::tuple(-1, -1, false);
}

TEST(ReportDescriptor, UnnumberedReportsCountTheReportIdByteNumberedTakeTheLongest) {
  EXPECT_EQ(Lengths(kMeter), std::tuple(65, 65, false));
  const Bytes d = {
      0x75, 0x08,                          // report size 8
      0x85, 0x01, 0x95, 0x08, 0x81, 0x02,  // report 1: 8 input bytes
      0x85, 0x02, 0x95, 0x20, 0x81, 0x02,  // report 2: 32 input bytes
      0x85, 0x01, 0x95, 0x08, 0x91, 0x02,  // report 1: 8 output bytes
  };
  EXPECT_EQ(Lengths(d), std::tuple(33, 9, true));
}

TEST(ReportDescriptor, BitFieldsRoundUpAndPushPopRestoresGlobals) {
  const Bytes d = {
      0x75, 0x01, 0x95, 0x03, 0x81, 0x02,  // 3 bits
      0xA4,                                // push
      0x75, 0x08, 0x95, 0x02, 0x81, 0x02,  // 16 bits
      0xB4,                                // pop: size 1, count 3 again
      0x81, 0x02,                          // 3 bits
  };
  EXPECT_EQ(Lengths(d), std::tuple(1 + 3, 0, false));  // 22 bits round up to 3 bytes
}

TEST(ReportDescriptor, MalformedDescriptorsAreRefused) {
  const Bytes cases[] = {
      {},                                                // nothing read
      {0x75},                                            // item cut off
      {0x26, 0xFF},                                      // two-byte item cut off
      {0xB4, 0x81, 0x02},                                // pop without push
      {0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02},  // report ID 0
      {0x06, 0x00, 0xFF, 0x09, 0x01},                    // no report at all
      {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02},  // overflow
      {0xFE, 0x10, 0x00, 0x01},  // long item cut off
  };
  for (const auto& d : cases) EXPECT_FALSE(ParseReportDescriptor(d).has_value());
}

}  // namespace
}  // namespace solardesk
