// The help viewer tests' helpers: a fresh temporary directory per test,
// removed afterwards; the built help file; the text of a QString.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTextBrowser>

#include <filesystem>
#include <string>

#include "app/helpviewer/chm_archive.h"
#include "app/helpviewer/help_window.h"
#include "tests/temp_dir.h"

class TestDir {
 public:
  explicit TestDir(const QString& sub = {}) {
    const QString root = QString::fromStdString(root_.str());
    path_ = sub.isEmpty() ? root : root + "/" + sub;
    QDir().mkpath(path_);
  }
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;

  const QString& Path() const { return path_; }
  QString File(const QString& name) const { return path_ + "/" + name; }
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile f(File(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return File(name);
  }

 private:
  kvtest::TempDir root_{"kvhelp"};
  QString path_;
};

inline QString BuiltHelp() { return QStringLiteral(KV_DIST_DIR "/LoveHelp.chm"); }

inline QByteArray ReadAll(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline std::string U(const QString& s) { return s.toStdString(); }

// The address of the page a viewer shows.
inline QString Source(const kv::help::HelpWindow& w) { return w.View()->source().toString(); }
