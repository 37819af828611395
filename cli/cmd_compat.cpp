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
#include "output.h"

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

// One line (record) per point of both passes.
void PrintPoints(Format format, const Context& ctx) {
  Records records{{"pass", "point", "date", "level"}};
  for (int pass = 1; pass <= 2; ++pass) {
    const kv::TScanPoints& points = pass == 1 ? kv::Scan1_Points : kv::Scan2_Points;
    for (int k = 1; k <= kv::kScanPoints; ++k) {
      const kv::Scan_Point& p = points[k];
      if (format == Format::Text) {
        std::cout << pass << '\t' << k << '\t' << p.Day << '\t' << p.Month << '\t' << p.Year << '\t'
                  << p.Level << '\n';
      } else {
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
        records.Add({pass, k, date, p.Level});
      }
    }
  }
  if (format == Format::Text) return;
  const Json inputs{
      {"command", "compat"}, {"birth_date", ctx.args[0]}, {"start_year", ctx.args[1]}};
  PrintResult(format, inputs, "points", records);
}

}  // namespace

int RunCompat(const Context& ctx) {
  const Date d = ParseDate(ctx.args[0]);
  CheckRange(d.year, kv::kCompatBirthYearInput, "year", ctx.args[0]);
  const std::int32_t start = ParseInt(ctx.args[1], kv::kCompatStartYearInput, "START_YEAR");
  const bool png = ctx.HasFlag("--png");
  const std::string prefix = ctx.FlagValue("--png");
  const Format format = ReadFormat(ctx);

  const kv::CompatInputs in{d.day, d.month, d.year, start};
  if (!png) {
    // Nobody sees the charts: no GUI application, no fonts.
    kv::StraightHost host(in);
    kv::RunCompatibility(host);
    PrintPoints(format, ctx);
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
  PrintPoints(format, ctx);
  for (int pass = 1; pass <= 2; ++pass) {
    const std::string name = prefix + std::to_string(pass) + ".png";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!(pass == 1 ? upper : lower).Image().save(&buffer, "PNG"))
      throw kv::FileError(kv::FileMessage("Не удаётся создать файл", name));
    kv::TextWriter out(name);
    out.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    out.Close();
  }
  return 0;
}

}  // namespace kvcli
