// Aspects between the bodies of two charts: which of the five classical
// angles each pair of longitudes forms, within the wider orb of the two.
#pragma once

#include <cstdint>

#include "core/planets.h"
#include "core/table.h"

namespace kv {

// Largest deviation from an exact aspect, degrees, per body 1..10.
inline constexpr Table<double, 10> Orb_Table{{10, 10, 6, 6, 6, 6, 4, 4, 4, 4}};

// Aspect codes: the exact angle in degrees, or no aspect.
inline constexpr std::int32_t kConjunction = 0;
inline constexpr std::int32_t kSextile = 60;
inline constexpr std::int32_t kSquare = 90;
inline constexpr std::int32_t kTrine = 120;
inline constexpr std::int32_t kOpposition = 180;
inline constexpr std::int32_t kNoAspect = 255;

// [body of the first chart][body of the second chart]; room for 44 x 44,
// only 1..10 are used.
using TAspectMatrix = Table<Table<std::int32_t, 44>, 44>;

extern TAspectMatrix Aspect_Matrix;

// Fills cells [1..10][1..10] of Matrix from the longitudes of entries 1..10.
// The charts are taken as copies, so the caller's tables never change.
// The Moon (body 2) of either chart takes part in no aspect.
void Cross_Aspects(TChart First, TChart Second, TAspectMatrix& Matrix);

}  // namespace kv
