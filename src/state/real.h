#pragma once
#include <cfloat>

namespace zentrova {

// Every physical quantity is an 80-bit x87 extended real.
using Real = long double;
static_assert(LDBL_MANT_DIG == 64, "Zentrova needs the 80-bit extended long double of x86");

inline constexpr int kMaxParticles = 60;

}  // namespace zentrova
