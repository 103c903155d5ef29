// Prints "e X Y" or "l X Y" lines, X an argument and Y = exp(X) or log(X)
// as 20 hex digits of the 80-bit form, for check_xmath.py to compare with a
// high-precision reference. The arguments cover the whole range, with more
// of them where the force law takes its exponentials and logarithms.
#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "dynamics/xmath.h"

using zentrova::Real;

namespace {

void put(char f, Real x) {
  const Real y = f == 'e' ? zentrova::xmath::exp(x) : zentrova::xmath::log(x);
  std::uint64_t mx, my;
  std::uint16_t ex, ey;
  std::memcpy(&mx, &x, 8), std::memcpy(&ex, reinterpret_cast<char*>(&x) + 8, 2);
  std::memcpy(&my, &y, 8), std::memcpy(&ey, reinterpret_cast<const char*>(&y) + 8, 2);
  std::printf("%c %04x%016" PRIx64 " %04x%016" PRIx64 "\n", f, ex, mx, ey, my);
}

// A few units in the last place either side of x.
void around(char f, Real x, int n = 3) {
  Real lo = x, hi = x;
  put(f, x);
  for (int i = 0; i < n; ++i) put(f, lo = std::nextafter(lo, -LDBL_MAX)), put(f, hi = std::nextafter(hi, LDBL_MAX));
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;  // per range
  std::mt19937_64 rng(16);
  auto uniform = [&](Real a, Real b) {
    return a + (b - a) * (Real(rng() >> 1) / 0x1p63L);
  };
  const Real ln2 = 0.693147180559945309417232121458176568L;

  // exp: the whole range, the law's usual range, small arguments.
  for (int i = 0; i < n; ++i) put('e', uniform(-11400, 11357));
  for (int i = 0; i < n; ++i) put('e', uniform(-64, 64));
  for (int i = 0; i < n / 2; ++i) put('e', std::ldexp(uniform(-1, 1), int(rng() % 80) - 72));
  // At and next to the multiples of ln 2 / 256 the reduction meets its ties.
  for (int i = 0; i < n / 10; ++i) around('e', std::nearbyint(uniform(-4.2e6, 4.2e6)) * (ln2 / 256), 1);
  for (Real x : {0.0L, -0.0L, LDBL_TRUE_MIN, -LDBL_TRUE_MIN, LDBL_MIN, 1.0L, -1.0L, 11350.0L, -11350.0L,
                 11356.5L, -11355.0L, -11399.0L, -11400.0L, 0x1p-65L, -0x1p-65L})
    around('e', x);
  around('e', zentrova::xmath::tables::kExpOverflow, 8);
  around('e', zentrova::xmath::tables::kExpUnderflow, 8);

  // log: every exponent, the law's usual range, just either side of 1.
  for (int i = 0; i < n; ++i) {
    const Real m = uniform(1, 2);
    put('l', std::ldexp(m, int(rng() % 32765) - 16382));
  }
  for (int i = 0; i < n; ++i) put('l', std::exp(uniform(-12, 12)));
  for (int i = 0; i < n / 2; ++i) {
    const Real d = std::ldexp(uniform(0.5, 1), -int(rng() % 66));
    put('l', rng() & 1 ? 1 + d : 1 - d / 2);
  }
  for (int i = 0; i < n / 10; ++i) put('l', std::ldexp(uniform(0, 1), -16382));  // denormals
  for (Real x : {1.0L, 2.0L, 0.5L, 10.0L, LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN, 0x1p-16400L, 1.4142135623730950488L,
                 0.70710678118654752440L, 2.718281828459045235360L})
    around('l', x);
  for (int e = -16445; e <= 16383; e += 97) around('l', std::ldexp(1.0L, e), 1);
  return 0;
}
