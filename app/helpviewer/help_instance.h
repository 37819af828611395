// One viewer per help file: later starts of kvlove-help hand their page to
// the running one through the instance lock of app/platform.h, as
// "show:PAGE" ("show:" alone for the default topic).
#pragma once

#include <QString>

namespace kvapp {
class InstanceLock;
}

namespace kv::help {

class HelpWindow;

inline constexpr char kShowRequest[] = "show:";

// The request a start hands over for `page`.
QString ShowRequest(const QString& page);

// Shows the pages that later starts ask for in `window`; other requests
// only bring it to the front.
void ServeLaterStarts(kvapp::InstanceLock& instance, HelpWindow& window);

}  // namespace kv::help
