#pragma once

#include <QStringList>

#include "CliContext.h"

namespace solardesk::cli {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(CliContext& cli, const QStringList& args);
  bool paints = false;  // draws pages: run in a GUI application without a display
};

// Every command of the program, in the order the help lists them.
const std::vector<Command>& AllCommands();

}  // namespace solardesk::cli
