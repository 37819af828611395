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
#include "output.h"
#include "tr.h"
#include "core/textfile.h"

namespace kvcli {
namespace {

const char* const kOverview = QT_TRANSLATE_NOOP(
    "Kvlove",
    "Usage: kvlove [--main-dir DIR] [--] COMMAND [ARGS...]\n"
    "       kvlove COMMAND --help\n"
    "       kvlove --version\n"
    "\n"
    "Korvella Love from the command line: the computations of the window,\n"
    "writing the same files byte for byte. Times are HH:MM[:SS], dates\n"
    "DD.MM.YYYY or YYYY-MM-DD. DD.MM.YYYY is the window's calendar, Julian\n"
    "before 15.10.1582, with -1 for 1 BC; YYYY-MM-DD is ISO 8601's, Gregorian\n"
    "also before 1582, with 0000 for 1 BC, as json and csv write dates. A date\n"
    "that does not exist (31.02.2020, 10.10.1582) is refused; a command's\n"
    "--lenient-dates takes day 1..31 of any month as the window does.\n"
    "\n"
    "The help and the messages are in Russian when the locale of messages\n"
    "(LC_ALL, LC_MESSAGES, LANG) is Russian, in English otherwise; the\n"
    "results are the same in both.\n"
    "\n"
    "Options may stand before or after the command. Every command prints its\n"
    "result as text, or with --format json or --format csv for other programs.\n"
    "\n"
    "Options:\n"
    "  --main-dir DIR  the program's main directory, under which data files are\n"
    "                  read and written as the window does (Html/, System/);\n"
    "                  default: $KVLOVE_MAIN_DIR, which the installed kvlove sets\n"
    "                  to the window's working directory, else the current one;\n"
    "                  also --main-dir=DIR\n"
    "  --              ends the options: the words after it are arguments even\n"
    "                  when they begin with \"-\" (a name, a negative year)\n"
    "  --help          this text\n"
    "  --version       the program's version\n"
    "\n"
    "Commands:\n");

const char* const kExitStatus =
    QT_TRANSLATE_NOOP("Kvlove",
                      "Exit status: 0 done, 1 the computation failed (the window's message is\n"
                      "printed) or its result could not be written to standard output (a full\n"
                      "disk, a closed pipe or stream), 2 bad input.\n");

// The installed kvlove's launcher names the window's working directory here.
std::string DefaultMainDir() {
  if (const char* dir = std::getenv("KVLOVE_MAIN_DIR"); dir && *dir) return dir;
  char buf[PATH_MAX];
  if (!::getcwd(buf, sizeof buf))
    throw std::runtime_error(Kvlove::tr("cannot read the current directory"));
  return buf;
}

void PrintOverview(std::ostream& out) {
  out << Kvlove::tr(kOverview);
  for (const auto& c : Commands()) {
    char line[200];
    std::snprintf(line, sizeof line, "  %-10s ", c.name);
    out << line << Kvlove::tr(c.synopsis) << "\n";
  }
  out << "\n" << Kvlove::tr(kExitStatus);
}

bool IsLongOption(const std::string& w) { return w.size() > 2 && w.compare(0, 2, "--") == 0; }

// "--name" of "--name" or "--name=VALUE".
std::string OptionName(const std::string& w) { return w.substr(0, w.find('=')); }

// The value of the option at words[i]: after its "=", or the next word.
std::string OptionValue(const std::vector<std::string>& words, std::size_t& i,
                        const std::string& what) {
  const std::string& w = words[i];
  const std::string name = OptionName(w);
  std::string v;
  if (name.size() < w.size())
    v = w.substr(name.size() + 1);
  else if (i + 1 < words.size())
    v = words[++i];
  if (v.empty()) throw UsageError(Kvlove::tr("%1 needs %2", {name, what}));
  return v;
}

int Main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  std::string mainDir;
  bool options = true;  // until "--"
  std::size_t i = 0;
  for (; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == "--") {
      options = false;
      ++i;
      break;
    }
    if (w == "--help" || w == "-h") {
      PrintOverview(std::cout);
      return 0;
    }
    if (w == "--version") {
      std::cout << "kvlove " KV_VERSION "\n";
      return 0;
    }
    if (OptionName(w) == "--main-dir") {
      mainDir = OptionValue(words, i, Kvlove::tr("a directory"));
      continue;
    }
    break;
  }
  if (i >= words.size()) {
    PrintOverview(std::cerr);
    return 2;
  }
  const Command* cmd = nullptr;
  for (const auto& c : Commands())
    if (words[i] == c.name) cmd = &c;
  if (!cmd) throw UsageError(Kvlove::tr("unknown command '%1' (see kvlove --help)", {words[i]}));

  Context ctx;
  for (++i; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (options && w == "--") {
      options = false;
    } else if (options && (w == "--help" || w == "-h")) {
      std::cout << HelpText(*cmd);
      return 0;
    } else if (options && IsLongOption(w)) {
      const std::string name = OptionName(w);
      if (name == "--main-dir") {
        mainDir = OptionValue(words, i, Kvlove::tr("a directory"));
        continue;
      }
      const Option* known = nullptr;
      for (const auto& o : cmd->options)
        if (name == o.name) known = &o;
      if (!known) throw UsageError(Kvlove::tr("unknown option '%1' for %2", {w, cmd->name}));
      if (!known->value && name != w) throw UsageError(Kvlove::tr("%1 takes no value", {name}));
      ctx.flags[name] = known->value ? OptionValue(words, i, Kvlove::tr("a value")) : "";
    } else {
      ctx.args.push_back(w);
    }
  }
  if (ctx.args.size() < cmd->minArgs || ctx.args.size() > cmd->maxArgs)
    throw UsageError(
        Kvlove::tr("wrong number of arguments for %1 (see kvlove %1 --help)", {cmd->name}));
  kv::UseMainDirectory(mainDir.empty() ? DefaultMainDir() : mainDir);
  return cmd->run(ctx);
}

}  // namespace
}  // namespace kvcli

int main(int argc, char** argv) {
  // A signal mid-run leaves the previous files whole and no part file.
  kv::RemovePartsOnSignals();
  kvcli::CheckStandardOutput();
  try {
    const int status = kvcli::Main(argc, argv);
    kvcli::FinishStandardOutput();
    return status;
  } catch (const kvcli::UsageError& e) {
    kvcli::SettleStandardOutput();
    std::cerr << "kvlove: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    kvcli::SettleStandardOutput();
    std::cerr << "kvlove: " << e.what() << "\n";
    return 1;
  }
}
