// kvlove: the program's computations from the command line, writing the
// same files as the window.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "commands.h"
#include "core/settings.h"

namespace kvcli {
namespace {

constexpr const char* kOverview =
    "Usage: kvlove [--main-dir DIR] COMMAND [ARGS...]\n"
    "       kvlove COMMAND --help\n"
    "\n"
    "Korvella Love from the command line: the computations of the window,\n"
    "writing the same files byte for byte. Dates are DD.MM.YYYY, times HH:MM[:SS].\n"
    "\n"
    "Options:\n"
    "  --main-dir DIR  the program's main directory, under which data files are\n"
    "                  read and written as the window does (Html/, System/);\n"
    "                  default: $KVLOVE_MAIN_DIR, which the installed kvlove sets\n"
    "                  to the window's working directory, else the current one\n"
    "  --help          this text\n"
    "\n"
    "Commands:\n";

// The installed kvlove's launcher names the window's working directory here.
std::string DefaultMainDir() {
  if (const char* dir = std::getenv("KVLOVE_MAIN_DIR"); dir && *dir) return dir;
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf)) throw std::runtime_error("cannot read the current directory");
  return buf;
}

void PrintOverview() {
  std::cout << kOverview;
  for (const auto& c : Commands()) std::printf("  %-10s %s\n", c.name, c.synopsis);
  std::cout << "\nExit status: 0 done, 1 the computation failed (the window's message is\n"
               "printed), 2 bad input.\n";
}

int Main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  std::string mainDir;
  std::size_t i = 0;
  for (; i < words.size(); ++i) {
    if (words[i] == "--help" || words[i] == "-h") {
      PrintOverview();
      return 0;
    }
    if (words[i] == "--main-dir") {
      if (i + 1 >= words.size()) throw UsageError("--main-dir needs a directory");
      mainDir = words[++i];
      continue;
    }
    break;
  }
  if (i >= words.size()) {
    PrintOverview();
    return 2;
  }
  const Command* cmd = nullptr;
  for (const auto& c : Commands())
    if (words[i] == c.name) cmd = &c;
  if (!cmd) throw UsageError("unknown command '" + words[i] + "' (see kvlove --help)");

  Context ctx;
  for (++i; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--help" || w == "-h") {
      std::cout << cmd->help;
      return 0;
    }
    if (w == "--main-dir") {
      if (i + 1 >= words.size()) throw UsageError("--main-dir needs a directory");
      mainDir = words[++i];
      continue;
    }
    if (w.size() > 2 && w.compare(0, 2, "--") == 0) {
      const FlagSpec* known = nullptr;
      for (const auto& f : cmd->flags)
        if (w == f.name) known = &f;
      if (!known) throw UsageError("unknown option '" + w + "' for " + cmd->name);
      std::string value;
      if (known->takesValue) {
        if (i + 1 >= words.size()) throw UsageError(w + " needs a value");
        value = words[++i];
      }
      ctx.flags[w] = value;
      continue;
    }
    ctx.args.push_back(w);
  }
  if (ctx.args.size() < cmd->minArgs || ctx.args.size() > cmd->maxArgs)
    throw UsageError(std::string("wrong number of arguments for ") + cmd->name +
                     " (see kvlove " + cmd->name + " --help)");
  kv::UseMainDirectory(mainDir.empty() ? DefaultMainDir() : mainDir);
  ctx.mainDir = kv::MainDir;
  ctx.sysDir = kv::SysDir;
  return cmd->run(ctx);
}

}  // namespace
}  // namespace kvcli

int main(int argc, char** argv) {
  try {
    return kvcli::Main(argc, argv);
  } catch (const kvcli::UsageError& e) {
    std::cerr << "kvlove: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "kvlove: " << e.what() << "\n";
    return 1;
  }
}
