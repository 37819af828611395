// The phases of fourteen consecutive lunations from the start of a year and
// their listing file, F_LunDay.tmp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/table.h"

namespace kv {

// New moon that opens each of the 14 listed lunar months of the last year
// computed; zero until the first run.
extern Table<double, 14> NewMoon_Table;
// The new moon after entry 14, which closes lunar month 14 (same run).
extern double NewMoon_15;

// The lunation that D selects: D comes back as its new moon, with its first
// quarter, full moon and last quarter. Day numbers, universal time.
void LunarPhases(double& D, double& FirstQuarter, double& FullMoon, double& LastQuarter);

struct TLunationPhases {
  double NewMoon = 0, FirstQuarter = 0, FullMoon = 0, LastQuarter = 0;
};

// The calculate button's result: the fourteen lunations listed, the new
// moon that closes the last of them, and the listing file's bytes
// (Windows-1251, CR LF).
struct TPhaseTable {
  std::vector<TLunationPhases> Lunations;
  double NewMoon_15 = 0;
  std::string Listing;
};

// The phase table of a year; changes nothing and writes nothing.
TPhaseTable PhaseTable(std::int32_t year);
// The calculate button: the phase table of the year written to the listing
// file LunDay_Name, then kept in NewMoon_Table and NewMoon_15 for the lunar
// days. Raises FileError, with the tables unchanged, when the file cannot
// be written.
TPhaseTable WritePhaseListing(std::int32_t year);

// The lines of the listing (Windows-1251) with the dates of the lunations
// by the clock: the file's for GMT; for another clock the closing lines
// name it instead of pointing to the window's list.
std::vector<std::string> PhaseListing(const std::vector<TLunationPhases>& lunations,
                                      const LocalClock& clock = {});

}  // namespace kv
