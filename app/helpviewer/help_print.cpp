#include "app/helpviewer/help_print.h"

#include <QLibrary>

namespace kv::help {

PrintPageFn LoadPrintModule(const QString& dir, QString* error) {
  QLibrary module(dir + u'/' + QLatin1String(kPrintModule));
  const auto fn = reinterpret_cast<PrintPageFn>(module.resolve(kPrintPage));
  if (!fn && error)
    *error = QStringLiteral("Не удаётся загрузить модуль печати «%1»: %2")
                 .arg(module.fileName(), module.errorString());
  return fn;
}

}  // namespace kv::help
