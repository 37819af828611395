// What the viewer shows for an object of the help file: the object itself,
// or a message page in Russian when the file, the page or its data is missing.
#pragma once

#include <QByteArray>
#include <QString>

#include "app/helpviewer/chm_archive.h"

namespace kv::help {

struct Reply {
  QByteArray body;
  bool found = false;  // false: `body` is a message page
};

// `path` is inside the archive (no anchor); a closed archive stands for a
// help file that is missing or broken, told apart by whether the file exists.
Reply ServePage(const ChmArchive& archive, const QString& path);

// The note shown instead of a page whose tables (or floating boxes) nest
// deeper than `limit`, which the rich-text layout would follow until its
// stack runs out.
QByteArray TooDeepPage(const QString& path, const QString& file, int limit);

}  // namespace kv::help
