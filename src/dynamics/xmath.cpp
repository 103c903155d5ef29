#include "dynamics/xmath.h"

namespace zentrova::xmath::detail {

// Arguments of 700 and more: NaNs, infinities, invalid encodings, the
// ends of the range.
Real expRare(Real x) {
  using tables::kExpOverflow;
  using tables::kExpUnderflow;
  if (std::isgreater(x, kExpOverflow)) {
    if (std::isinf(x)) return x;
    volatile Real huge = 0x1p16383L;
    return huge * huge;  // +inf with the overflow flag
  }
  if (std::isless(x, kExpUnderflow)) return 0.0L;
  if (std::isgreaterequal(x, kExpUnderflow)) {
    int e;
    const Real y = expReduced(x, e);
    if (std::isless(std::fabs(x), 11350.0L)) return y * pow2(e);
    // Near the ends 2^e itself may be out of range: scale in two halves, so
    // that a denormal result is rounded once.
    const int half = e / 2;
    return (y * pow2(e - half)) * pow2(half);
  }
  return x + x;  // NaN; invalid for a signalling NaN or an invalid encoding
}

Real logRare(Real x) {
  if (std::isnan(x)) return x + x;  // as above
  if (x == 0) {
    volatile Real zero = 0;
    return -1.0L / zero;  // -inf with the division-by-zero flag
  }
  if (x < 0) {
    volatile Real v = x;
    return (v - v) / (v - v);  // NaN with the invalid flag, -inf included
  }
  if (std::isinf(x)) return x;
  // Denormal: scaling by 2^64 is exact and gives a normal significand.
  const Real y = x * 0x1p64L;
  return logOf(significand(y), int(signAndExponent(y)) - 16383 - 64);
}

}  // namespace zentrova::xmath::detail
