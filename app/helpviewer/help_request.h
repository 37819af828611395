// The viewer's parameter string: the help file, "::", the page, as the
// Windows help viewer takes it ("C:\Prog\LoveHelp.chm::30.html").
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kv::help {

struct HelpRequest {
  QString file;
  QString page;  // inside the archive, no leading '/'; empty = default topic
};

// Splits at the "::" whose left side is an existing file, trying the last
// one first, so "::" inside directory names does no harm; a whole string that
// names an existing file has no page. If nothing exists, the last "::" whose
// left side ends in ".chm" splits, else a whole string ending in ".chm" has no
// page, else the last "::" splits.
// `isFile` is QFileInfo::isFile unless given.
HelpRequest ParseHelpArgument(const QString& argument,
                              const std::function<bool(const QString&)>& isFile = {});

// The request of the viewer's command line: its arguments joined by blanks,
// so a caller that left the blanks of a path unquoted gets them back; without
// any, LoveHelp.chm in `programDir` at its default topic.
HelpRequest RequestFromArguments(const QStringList& arguments, const QString& programDir);

}  // namespace kv::help
