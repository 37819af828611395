// The lunar tab from the command line: the phase table, the lunar days of a
// lunar month and the description of one lunar day; for the window's
// observer in GMT, or for a place and a zone.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "core/calendar.h"
#include "core/settings.h"
#include "core/text.h"
#include "lunar/daytext.h"
#include "lunar/lunardays.h"
#include "lunar/phases.h"
#include "output.h"
#include "tr.h"
#include "places.h"

namespace kvcli {

namespace {

std::int32_t Year(const Context& ctx) {
  return ParseInt(ctx.args[0], kv::kLunarYearInput, Kvlove::tr("year"));
}
std::int32_t Month(const Context& ctx) {
  return ParseInt(ctx.args[1], {kv::NewMoon_Table.first(), kv::NewMoon_Table.last()},
                  Kvlove::tr("lunar month"));
}

// The lunar days of a month: the window's list, or the place's.
struct LunarMonth {
  std::string caption;  // Windows-1251
  std::vector<double> starts;
  Whereabouts where;
};

// The calculate button, then a choice in the lunar month group; with a
// place or a zone, its lunar days instead of the window's.
LunarMonth LunarDays(const Context& ctx) {
  const std::int32_t year = Year(ctx), month = Month(ctx);
  LunarMonth m{kv::LunarDaysCaption(month, year), {}, ReadWhereabouts(ctx)};
  kv::WritePhaseListing(year);
  if (m.where.given()) {
    m.starts = kv::LunarDaysAt(month, m.where.place).Starts;
  } else {
    kv::ChooseLunarMonth(month, year);
    m.starts.assign(kv::LunarDay_Starts.begin(), kv::LunarDay_Starts.begin() + kv::LunarDay_Count);
  }
  return m;
}

// The inputs every lunar result echoes.
Json Inputs(const char* command, const Context& ctx, const Whereabouts* where,
            const kv::LocalClock& clock) {
  Json j{{"command", command}, {"year", Year(ctx)}};
  if (where) {
    j["month"] = Month(ctx);
    j["place"] = PlaceJson(*where);
  }
  j["time_zone"] = clock.IsGmt() ? "GMT" : clock.Name;
  return j;
}

}  // namespace

int RunPhases(const Context& ctx) {
  const Format format = ReadFormat(ctx);
  const Whereabouts where = ReadWhereabouts(ctx);
  const kv::LocalClock& clock = where.place.Clock;
  const kv::TPhaseTable table = kv::WritePhaseListing(Year(ctx));
  const std::vector<kv::TLunationPhases>& lunations = table.Lunations;
  if (format == Format::Text) {
    if (clock.IsGmt()) {
      std::cout << kv::FromCp1251Text(table.Listing);
    } else {
      for (const std::string& line : kv::PhaseListing(lunations, clock))
        std::cout << kv::FromCp1251(line) << "\n";
    }
    if (where.placeGiven) std::cout << "  " << Describe(where) << "\n";
    return 0;
  }
  Records months{{"month", "new_moon", "first_quarter", "full_moon", "last_quarter"}};
  int i = 0;
  for (const kv::TLunationPhases& l : lunations)
    months.Add({++i, IsoMoment(l.NewMoon, clock), IsoMoment(l.FirstQuarter, clock),
                IsoMoment(l.FullMoon, clock), IsoMoment(l.LastQuarter, clock)});
  Json inputs = Inputs("phases", ctx, nullptr, clock);
  if (where.placeGiven) inputs["place"] = PlaceJson(where);
  PrintResult(format, inputs, "months", months);
  return 0;
}

int RunLunarDays(const Context& ctx) {
  const Format format = ReadFormat(ctx);
  const LunarMonth m = LunarDays(ctx);
  const kv::LocalClock& clock = m.where.place.Clock;
  const int days = static_cast<int>(m.starts.size()) - 1;
  if (format == Format::Text) {
    std::cout << kv::FromCp1251(m.caption) << "\n";
    if (m.where.given()) std::cout << "   " << Describe(m.where) << "\n";
    const bool times = ctx.HasFlag("--times");
    for (int N = 1; N <= days; ++N) {
      std::cout << kv::FromCp1251(kv::LunarDayLine(N, m.starts[N - 1], clock));
      if (times)
        std::cout << '\t' << ClockMoment(m.starts[N - 1], clock) << '\t'
                  << ClockMoment(m.starts[N], clock);
      std::cout << "\n";
    }
    return 0;
  }
  Records records{{"day", "start", "end"}};
  for (int N = 1; N <= days; ++N)
    records.Add({N, IsoMoment(m.starts[N - 1], clock), IsoMoment(m.starts[N], clock)});
  PrintResult(format, Inputs("lunar-days", ctx, &m.where, clock), "lunar_days", records);
  return 0;
}

int RunLunarDay(const Context& ctx) {
  const Format format = ReadFormat(ctx);
  const LunarMonth m = LunarDays(ctx);
  const std::int32_t N = ParseInt(ctx.args[2], {1, static_cast<std::int32_t>(m.starts.size()) - 1},
                                  Kvlove::tr("lunar day"));
  const kv::ErrorBox box = [](const std::string& message) {
    std::cerr << "kvlove: " << kv::FromCp1251(message) << "\n";
  };
  const kv::LocalClock& clock = m.where.place.Clock;
  kv::TLunarDayText day;
  if (!m.where.given()) {
    day = kv::WriteLunarDayText(N, box);
  } else {
    // Nothing written: the window's files keep the window's lunar day.
    day = kv::LunarDayText(N, m.starts[N - 1], m.starts[N], box, clock);
  }
  if (format == Format::Text) {
    if (m.where.given()) std::cout << Describe(m.where) << "\n";
    std::cout << kv::FromCp1251Text(day.Shown());
  } else {
    std::string text = kv::FromCp1251Text(day.Block);
    text.erase(text.find_last_not_of(" \n") + 1);
    Records record{{"day", "start", "end", "description"}};
    record.Add({N, IsoMoment(m.starts[N - 1], clock), IsoMoment(m.starts[N], clock), text});
    PrintResult(format, Inputs("lunar-day", ctx, &m.where, clock), nullptr, record);
  }
  // The times are right without a description, but the answer is not whole.
  if (const std::string missing = day.Missing(); !missing.empty()) {
    std::cerr << "kvlove: " << missing << "\n";
    return 1;
  }
  return 0;
}

}  // namespace kvcli
