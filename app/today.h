// "Today" for the window: the moment it takes as now (tests set their own)
// and the figures of the lunar day it falls in.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "lunar/today.h"

namespace kvapp {

// Universal time now as a day number; replaced by tests for a fixed today.
extern std::function<double()> Now;
double SystemNow();

// The lunar day at now for the place; nothing where the Moon does not rise
// near it (far beyond the polar circles) or the ephemeris fails.
std::optional<kv::LunarDayNow> TodaysLunarDay(const kv::LunarPlace& place);

// The figures for the start page: the day's number, start and end by the
// place's clock, the Moon's phase and lit fraction; where names the place
// and its zone ("Москва, Europe/Moscow"; "51.5° с.ш. 0° в.д., GMT" at the
// window's own observer).
QString TodayText(const kv::LunarDayNow& day, const kv::LunarPlace& place, const QString& where);

}  // namespace kvapp
