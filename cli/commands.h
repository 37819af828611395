// The commands of kvlove, in one table (commands.cpp). A command returns the
// exit status, raises UsageError for bad input and lets the errors of the
// computation (what the window would show) propagate.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "args.h"

namespace kvpaint {
class PngCharts;
}

namespace kvcli {

// An option of a command; its help is listed under "Options:". The texts
// are English, translated where they are shown (cli/tr.h).
struct Option {
  const char* name;   // "--png"
  const char* value;  // what it takes ("PREFIX"); nullptr for a switch
  const char* help;   // lines of its description, "\n" between them
};

struct Command {
  const char* name;
  const char* synopsis;           // one line for the overview
  const char* help;               // usage and description of "kvlove NAME --help"
  bool clockDigits = false;       // then the note on the clock digits of moonrises
  const char* example = nullptr;  // then this
  std::vector<Option> options = {};
  std::size_t minArgs, maxArgs;
  int (*run)(const Context&);
};

// In overview order.
std::span<const Command> Commands();

// The whole text of "kvlove NAME --help": the command's help, then its
// options with their descriptions in one column.
std::string HelpText(const Command& c);

// The module of pictures and PDFs (painter/png_charts.h); std::runtime_error
// when it cannot be loaded.
std::unique_ptr<kvpaint::PngCharts> LoadPngCharts();
// A PDF's error (empty: written) raised as kvlove's failure.
void SavePdf(const std::string& error);

int RunChart(const Context& ctx);
int RunCompat(const Context& ctx);
int RunReport(const Context& ctx);
int RunPhases(const Context& ctx);
int RunLunarDays(const Context& ctx);
int RunLunarDay(const Context& ctx);
int RunEclipses(const Context& ctx);
int RunToday(const Context& ctx);

}  // namespace kvcli
