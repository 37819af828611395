#include <iostream>

#include "commands.h"
#include "core/text.h"
#include "eclipse/eclipse_list.h"

namespace kvcli {

int RunEclipses(const Context& ctx) {
  const std::int32_t year = ParseInt(ctx.args[0], kv::kEclipseYearInput, "year");
  const bool details = ctx.HasFlag("--details");
  for (const kv::EclipseListLine& line : kv::EclipseList(year)) {
    std::cout << kv::FromCp1251(line.text);
    if (details && line.record != 0) {
      const kv::TEclipseData& r = kv::Eclipse_Table[line.record];
      std::cout << '\t' << FormatGeneral(r.Instant, 17) << '\t' << FormatFixed(r.Magnitude, 6)
                << '\t' << FormatFixed(r.Partial_Hours, 4) << '\t'
                << FormatFixed(r.Central_Hours, 4);
    }
    std::cout << "\n";
  }
  return 0;
}

}  // namespace kvcli
