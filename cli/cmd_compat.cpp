#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "painter/png_charts.h"
#include "commands.h"
#include "compat/scan.h"
#include "compat/straight_host.h"
#include "core/textfile.h"
#include "output.h"
#include "tr.h"

namespace kvcli {

// The pictures' module, beside kvlove's own file: only --png and --pdf load
// Qt's GUI libraries. It stays loaded until the process ends.
std::unique_ptr<kvpaint::PngCharts> LoadPngCharts() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
  path = path.substr(0, path.rfind('/') + 1) + kvpaint::kPngChartsModule;
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  const auto make =
      module ? reinterpret_cast<kvpaint::MakePngChartsFn>(::dlsym(module, kvpaint::kMakePngCharts))
             : nullptr;
  if (!make) {
    const char* why = ::dlerror();
    throw std::runtime_error(
        Kvlove::tr("Cannot load the pictures' module '%1': %2", {path, why ? why : ""}));
  }
  return std::unique_ptr<kvpaint::PngCharts>(make());
}

void SavePdf(const std::string& error) {
  if (!error.empty()) throw std::runtime_error(error);
}

namespace {

Json Inputs(const Context& ctx) {
  return {{"command", "compat"}, {"birth_date", ctx.args[0]}, {"start_year", ctx.args[1]}};
}

std::string IsoDate(const kv::Scan_Point& p) {
  char date[32];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  return date;
}

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
        records.Add({pass, k, IsoDate(p), p.Level});
      }
    }
  }
  if (format == Format::Text) return;
  PrintResult(format, Inputs(ctx), "points", records);
}

// Each year's highest and lowest points, as the window lists them.
void PrintExtremes(Format format, const Context& ctx) {
  Records records{{"year", "kind", "rank", "date", "level"}};
  for (const kv::TYearExtremes& y : kv::ExtremeDays(kv::ScannedPoints())) {
    for (const bool high : {true, false}) {
      const char* kind = high ? "highest" : "lowest";
      int rank = 0;
      for (const kv::Scan_Point& p : high ? y.Highest : y.Lowest) {
        ++rank;
        if (format == Format::Text) {
          std::cout << y.Year << '\t' << kind << '\t' << rank << '\t' << p.Day << '\t' << p.Month
                    << '\t' << p.Year << '\t' << p.Level << '\n';
        } else {
          records.Add({y.Year, kind, rank, IsoDate(p), p.Level});
        }
      }
    }
  }
  if (format == Format::Text) return;
  PrintResult(format, Inputs(ctx), "extremes", records);
}

void PrintResults(Format format, const Context& ctx) {
  if (ctx.HasFlag("--extremes"))
    PrintExtremes(format, ctx);
  else
    PrintPoints(format, ctx);
}

}  // namespace

int RunCompat(const Context& ctx) {
  const Date d = ReadDate(ctx, ctx.args[0]);
  CheckRange(d.year, kv::kCompatBirthYearInput, Kvlove::tr("year"), ctx.args[0]);
  const std::int32_t start = ParseInt(ctx.args[1], kv::kCompatStartYearInput, "START_YEAR");
  const bool png = ctx.HasFlag("--png");
  const std::string prefix = ctx.FlagValue("--png");
  const bool pdf = ctx.HasFlag("--pdf");
  const Format format = ReadFormat(ctx);

  const kv::CompatInputs in{d.day, d.month, d.year, start};
  if (!png && !pdf) {
    // Nobody sees the charts: no GUI application, no fonts.
    kv::StraightHost host(in);
    kv::RunCompatibility(host);
    PrintResults(format, ctx);
    return 0;
  }

  const std::unique_ptr<kvpaint::PngCharts> charts = LoadPngCharts();
  kv::StraightHost host(in, charts->Canvas(1), charts->Canvas(2));
  kv::RunCompatibility(host);
  PrintResults(format, ctx);
  if (pdf)
    SavePdf(charts->CompatPdf(in, kv::Scan1_Points, kv::Scan2_Points, ctx.FlagValue("--pdf")));
  if (!png) return 0;
  for (int pass = 1; pass <= 2; ++pass) {
    const std::string name = prefix + std::to_string(pass) + ".png";
    const std::string bytes = charts->Png(pass);
    if (bytes.empty()) throw kv::FileError(kv::FileMessage("Не удаётся создать файл", name));
    kv::TextWriter out(name);
    out.Write(bytes);
    out.Close();
  }
  return 0;
}

}  // namespace kvcli
