#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <iostream>
#include <string>

#include "app/chart_painter.h"
#include "commands.h"
#include "compat/scan.h"
#include "compat/straight_host.h"
#include "core/textfile.h"

namespace kvcli {
namespace {

// The platform's chatter (run-time directory and the like) is no message
// of ours; only fatal errors get through.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& msg) {
  if (type == QtFatalMsg || type == QtCriticalMsg) std::cerr << "kvlove: " << msg.toStdString() << "\n";
}

int guiArgc = 1;
char guiName[] = "kvlove";
char* guiArgv[] = {guiName, nullptr};

// One line per point of both passes.
void PrintPoints() {
  for (int pass = 1; pass <= 2; ++pass) {
    const kv::TScanPoints& points = pass == 1 ? kv::Scan1_Points : kv::Scan2_Points;
    for (int k = 1; k <= kv::kScanPoints; ++k) {
      const kv::Scan_Point& p = points[k];
      std::cout << pass << '\t' << k << '\t' << p.Day << '\t' << p.Month << '\t' << p.Year << '\t'
                << p.Level << '\n';
    }
  }
}

int RunCompat(const Context& ctx) {
  const Date d = ParseDate(ctx.args[0]);
  if (d.year < -2000 || d.year > 3000)
    throw UsageError("year out of range -2000..3000: '" + ctx.args[0] + "'");
  const std::int32_t start = ParseInt(ctx.args[1], 1900, 2050, "START_YEAR");
  const bool png = ctx.HasFlag("--png");
  const std::string prefix = ctx.FlagValue("--png");

  const kv::CompatInputs in{d.day, d.month, d.year, start};
  if (!png) {
    // Nobody sees the charts: no GUI application, no fonts.
    kv::StraightHost host(in);
    kv::RunCompatibility(host);
    PrintPoints();
    return 0;
  }

  // The year labels need fonts, and fonts need a GUI application; kvlove
  // never opens a window.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQt);
  QGuiApplication gui(guiArgc, guiArgv);
  kvapp::ChartPainter upper, lower;
  kv::StraightHost host(in, upper, lower);
  kv::RunCompatibility(host);
  PrintPoints();
  for (int pass = 1; pass <= 2; ++pass) {
    const std::string name = prefix + std::to_string(pass) + ".png";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!(pass == 1 ? upper : lower).Image().save(&buffer, "PNG"))
      throw kv::FileError("Cannot create file \"" + name + "\"");
    kv::TextWriter out(name);
    out.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    out.Close();
  }
  return 0;
}

const RegisterCommand kCompat{{
    20, "compat", "compatibility scan of four years: levels, scan files, charts",
    "Usage: kvlove compat DD.MM.YYYY START_YEAR [--png PREFIX]\n"
    "\n"
    "The compatibility run of the window for a birth date (taken at 12:00;\n"
    "year -2000..3000) and the first year of the analysis (1900..2050), without\n"
    "its pauses. Pass 1 rates every second day of START_YEAR and the year after,\n"
    "pass 2 the two years that follow. Writes Html/Scan1.txt and Html/Scan2.txt\n"
    "under the main directory, as the window does, and prints one line per point,\n"
    "tab-separated:\n"
    "  pass (1, 2), point K (1..360), day, month and year of the partner's\n"
    "  birth date, level (-70..70).\n"
    "\n"
    "Options:\n"
    "  --png PREFIX  also save the two charts as PREFIX1.png and PREFIX2.png\n"
    "                (720 x 218 pixels), as the window draws them at 100 %\n",
    {{"--png", true}}, 2, 2, RunCompat}};

}  // namespace
}  // namespace kvcli
