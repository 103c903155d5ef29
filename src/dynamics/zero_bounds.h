#pragma once
// Where a term of the law is an exact zero that no fault can accompany, so
// that the fast step may take the zero without evaluating the term. Each
// bound is compared with the very value the law computes (w, v or u), so it
// holds for the computed value, not only for the exact one.
//
// xmath::exp returns +0 without a flag below kExpUnderflow (about -11399.5);
// between it and -11355 the results are denormals. Every bound below leaves
// the computed exponent at least 3 % beyond kExpUnderflow, against rounding
// errors of a few units in the 64th bit.
#include "state/real.h"

namespace zentrova::zeros {

// Short range of the core term, w = 9.45 d: from w = 2 the exponent
// -w^19 ln w is below -360 000, so w^(-w^19) is +0 and e1 a zero with the
// sign of (-S) * 9.45, every other factor being positive. Below 1e200 no
// operation of e1 can overflow (w^19 < 1e3801).
inline constexpr Real kCoreFarW = 2.0L;
inline constexpr Real kCoreFarWEnd = 1e200L;

// Long range of the core term, v = 0.09 d: up to v = 0.0235 the exponent
// (75/v) ln v is below -11970 (the exact edge is v = 0.024424), so
// v^(75/v) is +0, and e2 = +0 times (1 - ln v) v^-2 K, all positive.
// From v = 1e-100 on, v^-2 and 75/v are far inside the range.
inline constexpr Real kLongNearV = 0.0235L;
inline constexpr Real kLongNearVStart = 1e-100L;

// Shell terms, u = (1.029/p) d, with the exponent (10/u)(2.5 - u^20) ln u
// (computed as ((0.1029/p) d)^-1 (2.5 - u^20) ln u).
//
// From u = 1.52 it is below -11931 (the exact edge is u = 1.516765), so the
// power is +0. Its factor -(a - b) is positive there: b = u^18 (205.8/p) ln u
// is positive, and a is negative below u = e and above it at most 6 % of b,
// so T(p) = +0. Up to u = 1e100, u^20 < 1e2000 and nothing overflows.
inline constexpr Real kShellFarU = 1.52L;
inline constexpr Real kShellFarUEnd = 1e100L;
// Up to u = 0.0098 it is below -11799 (the exact edge is u = 0.0100817):
// the power is +0 again, but now a is positive and b negative, so
// T(p) = -0. From u = 1e-100 on, d^-2 and 10/u stay far inside the range.
inline constexpr Real kShellNearU = 0.0098L;
inline constexpr Real kShellNearUStart = 1e-100L;

// The shell bounds assume a parameter in this range, so that 1.029/p,
// 205.8/p and (0.1029/p)^-1 stay within 1e±52 of 1.
inline constexpr Real kParamLow = 1e-50L;
inline constexpr Real kParamHigh = 1e50L;

// At distances in this range, with the shell parameters in theirs, no
// operation of the core term or of a shell term can fault: every logarithm
// has a positive normal argument and every value stays below 1e2400. A term
// that no contribution of the pair reads need not be evaluated there.
inline constexpr Real kQuietLow = 1e-50L;
inline constexpr Real kQuietHigh = 1e50L;

}  // namespace zentrova::zeros
