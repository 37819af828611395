// Reading a compiled HTML help file (CHM) through chmlib, and the parts of
// it the viewer needs: its objects, the default topic and the title. No
// widgets here, so the tests use it without a window.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

struct chmFile;

namespace kv::help {

// A page reference as a link or the parameter string writes it, reduced to
// the path inside the archive: "ms-its:x.chm::/a/b.html#c" -> "a/b.html#c",
// "\a\b.html" -> "a/b.html".
QString NormalizeLocal(const QString& local);

class ChmArchive {
 public:
  // Opens the file; IsOpen() is false if it is missing or not a CHM file.
  explicit ChmArchive(const QString& fileName);
  ~ChmArchive();
  ChmArchive(ChmArchive&&) noexcept;
  ChmArchive& operator=(ChmArchive&&) noexcept;

  bool IsOpen() const { return file_ != nullptr; }
  // Why the file was not even tried as a help file (missing, not a regular
  // file, too large), naming it; empty when it was.
  const QString& OpenError() const { return openError_; }
  const QString& FileName() const { return fileName_; }

  // Paths inside the archive, with or without the leading '/', no anchor.
  bool Exists(const QString& path) const;
  // The whole object, or nothing if it is absent or cannot be read fully.
  std::optional<QByteArray> Read(const QString& path) const;

  // From the archive's system record; empty when it names none.
  const QString& DefaultTopic() const { return defaultTopic_; }
  const QString& Title() const { return title_; }
  // The contents (.hhc) and index (.hhk) files the system record names, else
  // the first of their kind in the archive; empty when there is none.
  QString ContentsFile() const;
  QString IndexFile() const;

  // The paths of the archive's own objects (no leading '/'), in its
  // directory's order: no folders, nothing of its internal ("#", "$") files.
  QStringList Objects() const;

 private:
  struct Closer {
    void operator()(chmFile* f) const;
  };
  void ReadSystem();

  QString fileName_;
  QString openError_;
  std::unique_ptr<chmFile, Closer> file_;
  // What the layout check found; chmlib itself trusts the file blindly.
  std::uint64_t fileSize_ = 0;
  std::uint64_t dataOffset_ = 0;
  std::uint64_t uncompressedSize_ = 0;  // of the compressed section; 0 if none

  QString defaultTopic_;
  QString title_;
  QString contentsFile_, indexFile_;
};

}  // namespace kv::help
