// What the window needs of the platform, in one place: the per-user
// registry key of the program and the start of the help viewer.
#pragma once

#include <QString>
#include <memory>
#include <stdexcept>

namespace kvapp {

struct RegistryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The key "Software\Korvella_Love" of the current user: the native registry
// on Windows, QSettings' per-user INI file "Korvella_Love" elsewhere.
class RegistryKey {
 public:
  RegistryKey();
  ~RegistryKey();
  // Opens the key; with create = false it fails (false) when it is missing.
  bool Open(bool create);
  void WriteString(const QString& name, const QString& value);  // RegistryError
  bool ValueExists(const QString& name) const;
  QString ReadString(const QString& name) const;
  void Close();  // RegistryError when what was written cannot be stored

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

// Starts the help viewer on "file::page" without waiting for it; false when
// it could not be started.
bool StartHelpViewer(const QString& helpFile, const QString& topic);

}  // namespace kvapp
