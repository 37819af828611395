#include "commands.h"

namespace kvcli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> all = {
      {"chart", "the ten bodies at a moment (universal time)",
       "Usage: kvlove chart DD.MM.YYYY [HH:MM[:SS]]\n"
       "\n"
       "Positions of the Sun, the Moon and the planets at the given moment of\n"
       "universal time (default 00:00:00). Negative years are years BC (-1 is\n"
       "1 BC). The first line is the day number (days since 1899-12-31 12:00 UT,\n"
       "17 significant digits); then one line per body, tab-separated:\n"
       "  index (1 Sun, 2 Moon, 3 Mercury, 4 Venus, 5 Mars, 6 Jupiter, 7 Saturn,\n"
       "  8 Uranus, 9 Neptune, 10 Pluto), longitude, declination and daily speed\n"
       "  in degrees (9 decimals), zodiac sign (1 Aries .. 12 Pisces).\n",
       {}, 1, 2, RunChart},
  };
  return all;
}

}  // namespace kvcli
