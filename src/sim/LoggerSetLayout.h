#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace solardesk::sim {

// How the virtual meter lays out one record set of its logger as the byte stream it sends in
// 64-byte blocks: the interval text at positions 80..88, the unit text at 123..131, record n at
// 207 + 9n (five reading characters and four unused bytes), and an end marker so that the last
// non-zero byte lies exactly 40 positions after the start of the last record. Positions count
// from 1; element 0 of the vector is position 1. The vector ends at the last non-zero byte.
std::vector<std::uint8_t> LayOutLoggerSet(const QString& intervalText, const QString& unitText,
                                          const std::vector<QString>& readings);

}  // namespace solardesk::sim
