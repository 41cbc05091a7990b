#pragma once

#include <QString>
#include <optional>

#include "CliContext.h"

namespace solardesk::cli {

// The value of "--interval S": whole seconds 1 to 86400 (halves to even, clamped); `absent` when
// the option was not given. Nothing, with the error written, when S is not a number.
std::optional<int> IntervalOption(CliContext& cli, const QString& text, int absent);

// The value of "--interval S" where nothing is rounded or clamped: whole seconds 1 to 86400;
// `absent` when the option was not given. Nothing, with the error written, for anything else.
std::optional<int> WholeIntervalOption(CliContext& cli, const QString& text, int absent);

}  // namespace solardesk::cli
