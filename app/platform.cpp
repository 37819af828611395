#include "platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace kvapp {

namespace {
std::unique_ptr<QSettings> MakeSettings() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Korvella_Love"),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Korvella_Love"));
#endif
}
}  // namespace

struct RegistryKey::Impl {
  std::unique_ptr<QSettings> s;
};

RegistryKey::RegistryKey() : d_(std::make_unique<Impl>()) {}
RegistryKey::~RegistryKey() = default;

bool RegistryKey::Open(bool create) {
  d_->s = MakeSettings();
#ifndef Q_OS_WIN
  if (!create && !QFileInfo::exists(d_->s->fileName())) {
    d_->s.reset();
    return false;
  }
#else
  if (!create && d_->s->allKeys().isEmpty()) {
    d_->s.reset();
    return false;
  }
#endif
  return true;
}

void RegistryKey::WriteString(const QString& name, const QString& value) {
  if (!d_->s) throw RegistryError("Failed to set data for '" + name.toStdString() + "'");
  d_->s->setValue(name, value);
  d_->s->sync();
  if (d_->s->status() != QSettings::NoError || !d_->s->isWritable())
    throw RegistryError("Failed to set data for '" + name.toStdString() + "'");
}

bool RegistryKey::ValueExists(const QString& name) const { return d_->s && d_->s->contains(name); }

QString RegistryKey::ReadString(const QString& name) const {
  return d_->s ? d_->s->value(name).toString() : QString();
}

void RegistryKey::Close() {
  if (!d_->s) return;
  d_->s->sync();
  const bool failed = d_->s->status() != QSettings::NoError;
  d_->s.reset();
  if (failed) throw RegistryError("Failed to write the registry key Software\\Korvella_Love");
}

bool StartHelpViewer(const QString& helpFile, const QString& topic) {
#ifdef Q_OS_WIN
  // hh.exe gets the short form of the path, which holds no blanks.
  wchar_t shortPath[MAX_PATH];
  const std::wstring longPath = helpFile.toStdWString();
  if (GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH) == 0) return false;
  const std::wstring param = std::wstring(shortPath) + topic.toStdWString();
  const auto r = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", L"hh.exe", param.c_str(), nullptr, SW_SHOWNORMAL));
  return r > 32;
#else
  // Our own viewer beside the program, given the full path and the topic.
  const QString viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/kvlove-help");
  if (!QFileInfo(viewer).isExecutable()) return false;
  return QProcess::startDetached(viewer, {helpFile + topic});
#endif
}

}  // namespace kvapp
