// Links that leave the program, from the help viewer or the report page:
// only to a website or to a mail program, and a mail link carries nothing
// but its addressee, subject and body (no "attach=/etc/passwd", no copies).
#pragma once

#include <QUrl>

namespace kv::help {

// The address to hand to the desktop for a link, or an empty one when the
// link must not leave (a file, an unknown scheme, a page of the help file).
QUrl OutsideLink(const QUrl& link);

}  // namespace kv::help
