#include <algorithm>
#include <iostream>

#include "commands.h"
#include "degrees/degree_report.h"
#include "output.h"
#include "painter/png_charts.h"
#include "places.h"
#include "tr.h"

namespace kvcli {

int RunReport(const Context& ctx) {
  const Date d = ReadDate(ctx, ctx.args[1]);
  const std::string& time = ctx.args[2];
  if (std::count(time.begin(), time.end(), ':') != 1)
    throw UsageError(Kvlove::tr("malformed time '%1' (expected HH:MM)", {time}));
  const Time t = ParseTime(time);
  CheckRange(d.year, kv::kReportYearInput, Kvlove::tr("year"), ctx.args[1]);
  const Format format = ReadFormat(ctx);
  const Whereabouts w = ReadWhereabouts(ctx);
  kv::ClockReading birth;
  std::string page;
  if (w.given()) {
    birth = BirthMoment(w, d, t);
    // The page names the clock: "Москва, UTC+04:00".
    const std::string clock =
        (w.city ? w.city->Name + ", " : std::string()) + "UTC" + kv::OffsetText(birth.Offset);
    page = kv::MakeDegreeReportAt(ctx.args[0], d.day, d.month, d.year, t.hour, t.minute, birth.X,
                                  clock);
  } else {
    page = kv::MakeDegreeReport(ctx.args[0], d.day, d.month, d.year, t.hour, t.minute);
  }
  if (ctx.HasFlag("--pdf")) SavePdf(LoadPngCharts()->ReportPdf(page, ctx.FlagValue("--pdf")));
  if (format == Format::Text) {
    std::cout << page << "\n";
    if (w.given()) std::cout << BirthLine(w, birth, d, t) << "\n";
    return 0;
  }
  Records record{{"page"}};
  record.Add({page});
  Json inputs{{"command", "report"}, {"name", ctx.args[0]}, {"date", ctx.args[1]}, {"time", time}};
  if (w.given()) {
    inputs["moment"] = IsoMoment(birth.X, w.place.Clock);
    AddBirth(inputs, w, birth, d, t);
  }
  PrintResult(format, inputs, nullptr, record);
  return 0;
}

}  // namespace kvcli
