#include "Commands.h"

#include "DisplayCommands.h"

namespace solardesk::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"read", "read", RunRead},
      {"watch", "watch [--count N]", RunWatch},
  };
  return commands;
}

}  // namespace solardesk::cli
