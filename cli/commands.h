// The commands of kvlove. Each command file registers itself; a command
// returns the exit status, raises UsageError for bad input and lets the
// errors of the computation (what the window would show) propagate.
#pragma once

#include <string>
#include <vector>

#include "args.h"

namespace kvcli {

struct FlagSpec {
  const char* name;  // "--png"
  bool takesValue;
};

struct Command {
  int order;             // place in the overview
  const char* name;
  const char* synopsis;  // one line for the overview
  const char* help;      // full text of "kvlove NAME --help"
  std::vector<FlagSpec> flags;
  std::size_t minArgs, maxArgs;
  int (*run)(const Context&);
};

// Commands in overview order.
const std::vector<Command>& Commands();

struct RegisterCommand {
  explicit RegisterCommand(Command c);
};

}  // namespace kvcli
