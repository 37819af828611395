#include "calendar.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "checked.h"

namespace kv {

namespace {
constexpr long double kPi = std::numbers::pi_v<long double>;
}

double DayNumber(std::int32_t D, std::int32_t M, std::int32_t Y, std::int32_t h, std::int32_t n,
                 std::int32_t s) {
  std::int32_t y = Y < 0 ? Add(Y, 1) : Y;
  std::int32_t m = M;
  if (M < 3) {
    m = Add(M, 12);
    y = Sub(y, 1);
  }
  std::int32_t B = 0;
  if (Y > 1582 || (Y == 1582 && M > 10) || (Y == 1582 && M == 10 && D >= 15)) {
    const std::int32_t A = Quot(y, 100);
    B = Add(Sub(2, A), Quot(A, 4));
  }
  const long double yl = y;
  const double C =
      y >= 0 ? Store(Int(365.25L * yl) - 694025.0L) : Store(Int(365.25L * yl - 0.75L) - 694025.0L);
  const std::int32_t E = Trunc(30.6001L * static_cast<long double>(Add(m, 1)));
  const double F =
      Store(static_cast<long double>(D) + static_cast<long double>(h) / 24.0L +
            static_cast<long double>(n) / 1440.0L + static_cast<long double>(s) / 86400.0L);
  return Store((static_cast<long double>(B) + C) + E + F - 0.5L);
}

void DayNumberToDate(double x, std::int32_t& day, std::int32_t& month, std::int32_t& year,
                     std::int32_t& hour, std::int32_t& minute, std::int32_t& second) {
  const double J = Store(static_cast<long double>(x) + kJulianDayOfZero);
  const double Z = Store(Int(static_cast<long double>(J) + 0.5L));
  double K;
  if (Z < 2299161.0) {
    K = Store(static_cast<long double>(Z) + 1524.0L);
  } else {
    const std::int32_t alpha = Trunc((static_cast<long double>(Z) - 1867216.25L) / 36524.25L);
    K = Store(static_cast<long double>(Z) +
              (static_cast<long double>(alpha) - Int(static_cast<long double>(alpha) / 4.0L)) +
              1525.0L);
  }
  const std::int32_t C = Trunc((static_cast<long double>(K) - 122.1L) / 365.25L);
  const double L = Store(Int(static_cast<long double>(C) / 4.0L) + 365.0L * C);
  const long double KL = static_cast<long double>(K) - L;
  const std::int32_t E = Trunc(KL / 30.6001L);
  day = Sub(Trunc(KL + 0.5L), Trunc(30.6001L * E));
  month = Sub(Sub(E, 1), Mul(12, Quot(E, 14)));
  year = Sub(Sub(C, 4715), Quot(Add(month, 7), 10));
  const double H = Store((static_cast<long double>(J) + 0.5L - Z) * 24.0L);
  hour = Trunc(H);
  const double R = Store(Frac(H) * 60.0L);
  minute = Trunc(Int(R));
  second = Trunc(Int(Frac(R) * 60.0L));
}

CalendarDate DayNumberToDate(double x) {
  CalendarDate d;
  DayNumberToDate(x, d.Day, d.Month, d.Year, d.Hour, d.Minute, d.Second);
  return d;
}

bool DateExists(std::int32_t day, std::int32_t month, std::int32_t year) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  // A day past the month's end, or in the gap, comes back as another day.
  const CalendarDate back = DayNumberToDate(DayNumber(day, month, year, 12, 0, 0));
  return back.Day == day && back.Month == month;
}

std::int32_t HistoricalYear(std::int32_t astronomical) {
  return astronomical <= 0 ? Sub(astronomical, 1) : astronomical;
}

std::string TwoDigits(std::int32_t v) {
  return v < 10 ? "0" + std::to_string(v) : std::to_string(v);
}

namespace {
std::string Cut(std::string s, std::size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

std::string YearString(std::int32_t y) {
  if (y < 0) {
    // "-" and the magnitude padded to three digits keep the string 10 long.
    std::string a = std::to_string(-static_cast<std::int64_t>(y));
    if (a.size() < 3) a.insert(0, 3 - a.size(), '0');
    return "-" + a;
  }
  if (y < 10) return "000" + std::to_string(y);
  if (y < 100) return "00" + std::to_string(y);
  if (y < 1000) return "0" + std::to_string(y);
  return std::to_string(y);
}
}  // namespace

void DayNumberToStrings(double x, std::string& date, std::string& time) {
  const CalendarDate d = DayNumberToDate(x);
  std::string s = Cut(TwoDigits(d.Day), 10);
  s = Cut(s + ".", 10);
  s = Cut(s + TwoDigits(d.Month), 10);
  s = Cut(s + ".", 10);
  date = Cut(s + YearString(d.Year), 10);

  std::string t = Cut(TwoDigits(d.Hour), 8);
  t = Cut(t + ":", 8);
  t = Cut(t + TwoDigits(d.Minute), 8);
  t = Cut(t + ":", 8);
  time = Cut(t + TwoDigits(d.Second), 8);
}

double Modulo(double x, double m) {
  return Store(static_cast<long double>(m) *
               Frac(static_cast<long double>(x) / static_cast<long double>(m)));
}

double ReducedRadians(long double degrees) {
  return Store(static_cast<long double>(Modulo(Store(degrees), 360.0)) * kDegToRad);
}

double Normalize360(double a) {
  double r = Store(Frac(static_cast<long double>(a) / 360.0L) * 360.0L);
  if (r < 0) r = Store(static_cast<long double>(r) + 360.0L);
  return r;
}

double SiderealTime(double D, double lonHours) {
  const double F = Store(Frac(static_cast<long double>(D) + 0.5L));
  const double T = Store((static_cast<long double>(D) - 36524.0L - F) / 36525.0L);
  const long double Tl = T;
  double G = Modulo(Store(6.6460656L + 2400.051262L * Tl + 2.581e-5L * Tl * Tl), 24.0);
  if (G < 0) G = Store(static_cast<long double>(G) + 24.0L);
  return Modulo(Store(static_cast<long double>(G) + lonHours +
                      static_cast<long double>(F) * 24.0L * 1.002737909L),
                24.0);
}

double Tan(double a) {
  const long double al = a;
  return Store(std::sin(al) / std::cos(al));
}

double ArcSin(double x) {
  const long double xl = x;
  const long double q = 1.0L - xl * xl;
  // No guard in the formula itself: report what the FPU would trap on.
  if (q < 0 || std::isnan(q)) throw std::domain_error("Недопустимая операция с плавающей точкой");
  if (q == 0) throw std::domain_error("Деление на ноль с плавающей точкой");
  return Store(std::atan(xl / std::sqrt(q)));
}

double QuadrantArcTan(double y, double x) {
  long double a = x != 0 ? std::atan(static_cast<long double>(y) / x)
                         : static_cast<long double>(1.5707963267948966);
  if (a < 0) a += kPi;
  if (y < 0) a += kPi;
  return Store(a);
}

}  // namespace kv
