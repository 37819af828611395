// A fresh directory of the test's own under the system's temporary folder,
// removed with the object: kv_lunar_<pid>_<n>.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace kvtest {

class TempDir {
 public:
  explicit TempDir(const std::string& prefix) {
    static int n = 0;
    path_ = std::filesystem::temp_directory_path() /
            (prefix + "_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
    std::filesystem::remove_all(path_);  // a leftover of a killed run with our pid
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace kvtest
