#include "app/helpviewer/help_instance.h"

#include "app/helpviewer/help_window.h"
#include "app/platform.h"

namespace kv::help {

QString ShowRequest(const QString& page) { return QLatin1String(kShowRequest) + page; }

void ServeLaterStarts(kvapp::InstanceLock& instance, HelpWindow& window) {
  QObject::connect(&instance, &kvapp::InstanceLock::requestReceived, &window,
                   [&window](const QString& request) {
                     const QLatin1String show(kShowRequest);
                     if (request.startsWith(show))
                       window.ShowRequested(request.mid(show.size()));
                     else
                       window.BringToFront();
                   });
}

}  // namespace kv::help
