// Runs kvlove from the program directory and captures what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/temp_dir.h"

struct RunResult {
  int status = -1;
  std::string out, err;
};

inline std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// What a command printed, line by line.
inline std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

// kvlove speaks English unless env names another language (LANG=ru_RU.UTF-8),
// whatever the locale of the test run.
inline RunResult RunKvlove(const std::string& args, const std::string& cwd = ".",
                           const std::string& env = "") {
  const kvtest::TempDir dir("kvlove_run");
  const std::filesystem::path& tmp = dir.path();
  const std::string cmd = "cd '" + cwd +
                          "' && env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=C.UTF-8 " + env +
                          " " KV_DIST_DIR "/kvlove " + args + " >'" + (tmp / "out").string() +
                          "' 2>'" + (tmp / "err").string() + "' </dev/null";
  const int raw = std::system(cmd.c_str());
  RunResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp(tmp / "out");
  r.err = Slurp(tmp / "err");
  return r;
}
