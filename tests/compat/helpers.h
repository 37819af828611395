// Shared pieces of the compatibility tests: a GUI application for the fonts,
// fresh main directories, and a host that records what the run asks of it.
#pragma once

#include <QGuiApplication>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "compat/charts.h"
#include "compat/scan.h"
#include "core/settings.h"

namespace compat_test {

inline void EnsureGui() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "compat_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives to the end
  (void)app;
}

// A main directory of its own, removed afterwards; with Html/ unless asked.
class TempMainDir {
 public:
  explicit TempMainDir(bool withHtml = true) {
    static int n = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("kv_compat_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "System");
    if (withHtml) std::filesystem::create_directories(dir_ / "Html");
    kv::UseMainDirectory(dir_.string());
  }
  ~TempMainDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempMainDir(const TempMainDir&) = delete;
  TempMainDir& operator=(const TempMainDir&) = delete;
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

inline std::string ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Lines of a CR LF file; false in ok when a line end is anything else.
inline std::vector<std::string> CrLfLines(const std::string& bytes, bool& ok) {
  std::vector<std::string> lines;
  ok = true;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    if (lf == std::string::npos || lf == start || bytes[lf - 1] != '\r') {
      ok = false;
      break;
    }
    std::string line = bytes.substr(start, lf - 1 - start);
    if (line.find('\r') != std::string::npos) ok = false;
    lines.push_back(std::move(line));
    start = lf + 1;
  }
  return lines;
}

class RecordingHost : public kv::CompatHost {
 public:
  std::vector<kv::CompatInputs> inputs{kv::CompatInputs{}};  // the last repeats
  std::vector<std::string> log;
  std::function<void(RecordingHost&)> onProcess;  // at every ProcessMessages
  std::function<void(RecordingHost&)> onRead;     // at every ReadInputs
  kv::ChartCanvas upper, lower;
  int reads = 0, processed = 0, pauses = 0;

  kv::CompatInputs ReadInputs() override {
    log.push_back("read");
    ++reads;
    if (onRead) onRead(*this);
    return inputs[std::min<std::size_t>(reads - 1, inputs.size() - 1)];
  }
  void ShowPanels(int pass) override { log.push_back("panels" + std::to_string(pass)); }
  kv::ChartCanvas& Canvas(int pass) override { return pass == 1 ? upper : lower; }
  void Drawn(int pass) override { log.push_back("drawn" + std::to_string(pass)); }
  void ProcessMessages() override {
    log.push_back("process");
    ++processed;
    if (onProcess) onProcess(*this);
  }
  void Pause() override {
    log.push_back("pause");
    ++pauses;
  }
};

}  // namespace compat_test
