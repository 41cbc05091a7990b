#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace solardesk {

// What an output report (report ID, class, code, ...) changes in the meter, in words ("erase
// the logger", "set the clock"), or nothing for a query or a key press, which leave the
// meter's logger and settings as they are.
std::optional<QString> MeterChangeOf(const std::vector<std::uint8_t>& report);

// The question asked before such a report is written by hand.
QString MeterChangeQuestion(const QString& change);

}  // namespace solardesk
