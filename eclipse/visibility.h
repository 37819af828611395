// An eclipse of the list as seen from a place: whether any of it can be
// seen there, with the Sun or the Moon above the horizon, and when its
// greatest phase comes there. From the Swiss Ephemeris' local
// circumstances; the list's instants stay those of the program's search.
#pragma once

#include "eclipses.h"

namespace kv {

// Stable English codes of an eclipse for programs: "solar", "lunar";
// "total", "annular", "partial", "hybrid" (annular-total), "penumbral".
const char* EclipseKindCode(const TEclipseData& e);
const char* EclipseTypeCode(const TEclipseData& e);

struct LocalEclipse {
  bool Visible = false;         // some phase with the body above the horizon
  bool MaximumVisible = false;  // the greatest phase with the body above the horizon
  double LocalMaximum = 0;      // day number of the greatest phase there; 0 when not visible
  double Magnitude = 0;         // there at LocalMaximum: of the Sun's diameter, of the umbra
  double Altitude = 0;          // of the body at LocalMaximum, degrees
};

// e is a record of Eclipse_Table; degrees north and east. Raises
// std::runtime_error when the ephemeris fails.
LocalEclipse SeenFrom(const TEclipseData& e, double latitude, double longitude);

}  // namespace kv
