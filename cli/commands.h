// The commands of kvlove. Each returns the exit status; bad input raises
// UsageError, failures of the computation raise what the window would show.
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
  const char* name;
  const char* synopsis;  // one line for the overview
  const char* help;      // full text of "kvlove NAME --help"
  std::vector<FlagSpec> flags;
  std::size_t minArgs, maxArgs;
  int (*run)(const Context&);
};

const std::vector<Command>& Commands();

int RunChart(const Context&);

}  // namespace kvcli
