#include "commands.h"

#include <algorithm>

namespace kvcli {

namespace {
std::vector<Command>& Registry() {
  static std::vector<Command> all;
  return all;
}
}  // namespace

RegisterCommand::RegisterCommand(Command c) {
  auto& all = Registry();
  all.push_back(std::move(c));
  std::sort(all.begin(), all.end(), [](const Command& a, const Command& b) { return a.order < b.order; });
}

const std::vector<Command>& Commands() { return Registry(); }

}  // namespace kvcli
