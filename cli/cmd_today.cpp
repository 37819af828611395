// Today's lunar day at a place: the lunar calendar's first question.
#include <QDateTime>

#include <cmath>
#include <iostream>

#include "commands.h"
#include "core/calendar.h"
#include "core/text.h"
#include "lunar/daytext.h"
#include "lunar/today.h"
#include "output.h"
#include "tr.h"
#include "places.h"

namespace kvcli {

namespace {

// "DD.MM.YYYY HH:MM" of --at, blanks around and between its parts ignored.
void ReadAt(const Context& ctx, const std::string& value, Date& d, Time& t) {
  const std::size_t b = value.find_first_not_of(' ');
  const std::size_t gap = b == std::string::npos ? b : value.find(' ', b);
  const std::size_t timeAt = gap == std::string::npos ? gap : value.find_first_not_of(' ', gap);
  if (timeAt == std::string::npos)
    throw UsageError(Kvlove::tr("malformed --at '%1' (expected \"DD.MM.YYYY HH:MM\")", {value}));
  const std::size_t e = value.find_last_not_of(' ');
  d = ReadDate(ctx, value.substr(b, gap - b), "--at");
  t = ParseTime(value.substr(timeAt, e + 1 - timeAt));
  CheckRange(d.year, kv::kLunarYearInput, Kvlove::tr("year"), value);
}

double Now() {
  static const double kUnixEpoch = kv::DayNumber(1, 1, 1970, 0, 0, 0);
  return kUnixEpoch + static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 86400000.0;
}

std::string Moment(double x, const kv::LocalClock& clock) {
  std::string date, time;
  kv::DayNumberToStrings(clock.Local(x), date, time);
  return date + " " + time + (clock.IsGmt() ? " GMT" : " UTC" + kv::OffsetText(clock.OffsetAt(x)));
}

}  // namespace

int RunToday(const Context& ctx) {
  const Format format = ReadFormat(ctx);
  const Whereabouts w = ReadWhereabouts(ctx);
  const kv::LocalClock& clock = w.place.Clock;
  Date d;
  Time t;
  kv::ClockReading at{.X = Now()};
  if (ctx.HasFlag("--at")) {
    ReadAt(ctx, ctx.FlagValue("--at"), d, t);
    at = FromLocalReading(w, d, t);
  }
  const std::optional<kv::LunarDayNow> day = kv::LunarDayAt(at.X, w.place);
  if (!day)
    throw std::runtime_error(Kvlove::tr(
        "at %1 the Moon does not rise near this moment: there is no lunar day", {Describe(w)}));
  const kv::ErrorBox box = [](const std::string& message) {
    std::cerr << "kvlove: " << kv::FromCp1251(message) << "\n";
  };
  const kv::TLunarDayText described = kv::LunarDayText(day->Day, day->Start, day->End, box, clock);
  std::string text = kv::FromCp1251Text(described.Block);
  const bool repeated = at.Kind == kv::ClockReading::Repeated;
  if (format == Format::Text) {
    std::cout << Describe(w) << "\n";
    std::cout << "Момент: " << Moment(at.X, clock)
              << (repeated ? "; " + RepeatedNote(at, d, t) : "") << "\n";
    std::cout << "Лунный день " << day->Day << "\n";
    for (const std::string& line : kv::LunarDayHeading(day->Start, day->End, clock))
      std::cout << kv::FromCp1251(line) << "\n";
    std::cout << "Фаза Луны: " << kv::PhaseWords(day->Phase) << ", освещено "
              << std::lround(day->Illumination * 100) << " %\n";
    std::cout << text;
  } else {
    text.erase(text.find_last_not_of(" \n") + 1);
    Json inputs{{"command", "today"}, {"moment", IsoMoment(at.X, clock)}};
    if (repeated) inputs["note"] = RepeatedNote(at, d, t);
    inputs["place"] = PlaceJson(w);
    inputs["time_zone"] = clock.IsGmt() ? "GMT" : clock.Name;
    Records record{
        {"lunar_day", "start", "end", "description", "illumination", "phase", "phase_ru"}};
    record.Add({day->Day, IsoMoment(day->Start, clock), IsoMoment(day->End, clock), text,
                day->Illumination, kv::PhaseCode(day->Phase), kv::PhaseWords(day->Phase)});
    PrintResult(format, inputs, nullptr, record);
  }
  // The times are right without a description, but the answer is not whole.
  if (const std::string missing = described.Missing(); !missing.empty()) {
    std::cerr << "kvlove: " << missing << "\n";
    return 1;
  }
  return 0;
}

}  // namespace kvcli
