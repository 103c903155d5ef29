#pragma once
// exp and log of the 80-bit real, within one unit in the last place, several
// times faster than the C library's. They fault like the processor's own
// instructions: log of 0 divides by zero, log of a negative number, of -inf
// or of an invalid encoding is invalid, an exp beyond the range overflows;
// an exp below the range is 0 or a denormal without a fault. Nothing else
// raises a fault flag.
//
// The law's results depend on the last bits of these two, so every
// evaluation of the law goes through them and through nothing else.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dynamics/xmath_tables.h"
#include "state/real.h"

namespace zentrova::xmath {

namespace detail {

Real expRare(Real x);
Real logRare(Real x);

inline std::uint64_t significand(Real x) {
  std::uint64_t m;
  std::memcpy(&m, &x, 8);
  return m;
}
inline unsigned signAndExponent(Real x) {
  std::uint16_t se;
  std::memcpy(&se, reinterpret_cast<const char*>(&x) + 8, 2);
  return se;
}

// 2^e for -16382 <= e <= 16383.
inline Real pow2(int e) {
  struct {
    std::uint64_t m;
    std::uint16_t se;
  } bits{std::uint64_t(1) << 63, static_cast<std::uint16_t>(e + 16383)};
  Real r;
  std::memcpy(&r, &bits, 10);
  return r;
}

// v rounded to the nearest integer in the processor's own rounding, which
// is to nearest; one instruction where the conversions take several.
inline std::int64_t nearestInt(Real v) {
  std::int64_t k;
  asm("fistpll %0" : "=m"(k) : "t"(v) : "st");
  return k;
}

// e^x = 2^e * y with y in [1, 2) up to rounding; |x| below 11400.
inline Real expReduced(Real x, int& e) {
  using namespace tables;
  const auto k = static_cast<int>(nearestInt(x * kExpInvC));
  const Real kf = Real(k);
  // kf * kExpC1 is exact and close to x, so the first difference is exact.
  const Real r = (x - kf * kExpC1) - kf * kExpC2;
  const int j = k & (kExpN - 1);
  e = k >> 8;
  // e^r - 1 for |r| <= ln 2/512: the Taylor terms to r^5 leave 2^-66.7.
  // Coefficients in double precision add less than 2^-80.
  const Real r2 = r * r;
  const Real p = r + r2 * ((0.5 + r * (1.0 / 6)) + r2 * (1.0 / 24 + r * (1.0 / 120)));
  // 2^(j/256) (1 + p) with 2^(j/256) = hi + lo to 106 bits.
  const Real hi = kExpHi[j], lo = kExpLo[j];
  return hi + ((hi * p + lo) + lo * p);
}

// 2^e as a double, for -1022 <= e <= 1023: one 64-bit load.
inline double pow2Double(int e) {
  const std::uint64_t bits = std::uint64_t(e + 1023) << 52;
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

// ln(m 2^-63 2^e) for a significand m with its integer bit set.
inline Real logOf(std::uint64_t m, int e) {
  using namespace tables;
  // c near the reciprocal of m's leading bits: r = m c - 1 is small, and
  // is computed exactly as a + b from the two halves of m.
  const auto j = static_cast<unsigned>(((m >> 53) - 1023) >> 1);  // 0 .. 512
  const Real c = kLogC[j];
  const Real a = c * (Real(static_cast<std::int64_t>(m >> 32)) * 0x1p-31L) - 1.0L;
  const Real b = c * (Real(static_cast<std::int64_t>(m & 0xffffffffu)) * 0x1p-63L);
  const Real rh = a + b;
  const Real rl = b - (rh - a);
  // ln(1 + r) - r for |r| <= 2^-10: the Taylor terms to r^7 leave 2^-73.
  const Real r2 = rh * rh;
  const Real q = r2 * ((-0.5 + rh * (1.0 / 3)) + r2 * ((-0.25 + rh * 0.2) + r2 * (-1.0 / 6 + rh * (1.0 / 7))));
  // e ln 2 - ln c, with the high parts exact in their sum.
  const Real ef = Real(e);
  const Real A = ef * kLn2Hi + kLogHi[j];
  const Real lo = ef * kLn2Lo + kLogLo[j];
  const Real s = A + rh;
  const Real t = rh - (s - A);
  return s + (t + (rl + (q + lo)));
}

}  // namespace detail

// Inlined: a call would pass the 80-bit argument through memory.
[[gnu::always_inline]] inline Real exp(Real x) {
  if (std::isless(std::fabs(x), 700.0L)) {
    int e;
    const Real y = detail::expReduced(x, e);
    return y * detail::pow2Double(e);
  }
  // Most of the law's large arguments are far below the range.
  if (std::isless(x, tables::kExpUnderflow)) return 0.0L;
  return detail::expRare(x);
}

[[gnu::always_inline]] inline Real log(Real x) {
  const std::uint64_t m = detail::significand(x);
  const unsigned se = detail::signAndExponent(x);
  // Positive, normal and finite, with the integer bit an encoding must have.
  if (se - 1u >= 0x7ffeu || !(m >> 63)) return detail::logRare(x);
  return detail::logOf(m, int(se) - 16383);
}

}  // namespace zentrova::xmath
