// The GUI application that drawing text on a chart needs (fonts).
#pragma once

#include <QGuiApplication>

namespace compat_test {

inline void EnsureGui() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "chart_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives to the end
  (void)app;
}

}  // namespace compat_test
