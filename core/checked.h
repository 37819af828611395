// Checked integer arithmetic and real-to-integer conversions: an overflow or
// an out-of-range conversion raises an error instead of wrapping.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace kv {

struct IntOverflowError : std::overflow_error {
  IntOverflowError() : std::overflow_error("Переполнение целого числа") {}
};

// A value outside the range it must lie in: a real converted to an integer
// or an index into a table.
struct RangeError : std::out_of_range {
  RangeError() : std::out_of_range("Выход за пределы диапазона") {}
};

inline std::int32_t Add(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw IntOverflowError();
  return r;
}

inline std::int32_t Sub(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw IntOverflowError();
  return r;
}

inline std::int32_t Mul(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw IntOverflowError();
  return r;
}

// Integer division truncating toward zero, as Trunc(a / b) of two integers.
inline std::int32_t Quot(std::int32_t a, std::int32_t b) {
  if (b == 0) throw std::domain_error("Деление на ноль");
  if (a == std::numeric_limits<std::int32_t>::min() && b == -1) throw IntOverflowError();
  return a / b;
}

// Trunc: a real truncated toward zero into a 32-bit integer.
inline std::int32_t Trunc(long double v) {
  const long double t = std::trunc(v);
  if (!(t >= static_cast<long double>(std::numeric_limits<std::int32_t>::min()) &&
        t <= static_cast<long double>(std::numeric_limits<std::int32_t>::max())))
    throw RangeError();  // also NaN
  return static_cast<std::int32_t>(t);
}

// Int: a real truncated toward zero, kept as a real.
inline long double Int(long double v) { return std::trunc(v); }

// Frac: v minus its integer part; has the sign of v.
inline long double Frac(long double v) { return v - std::trunc(v); }

// Rounds an 80-bit intermediate to the 64-bit double that is stored.
inline double Store(long double v) { return static_cast<double>(v); }

}  // namespace kv
