// Calls per second of the program's exp and log against the C library's
// expl and logl, on arguments of the size the force law feeds them.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "dynamics/xmath.h"

using zentrova::Real;

namespace {

template <class F>
double callsPerSecond(F f, const std::vector<Real>& args, Real& sink) {
  double best = 0;
  for (int round = 0; round < 5; ++round) {
    const auto t0 = std::chrono::steady_clock::now();
    Real s = 0;
    for (int rep = 0; rep < 20; ++rep)
      for (Real x : args) s += f(x);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    sink += s;
    best = std::max(best, 20 * args.size() / secs);
  }
  return best;
}

}  // namespace

int main() {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> expArg(-60, 60), logArg(-5, 5);
  std::vector<Real> e(10000), l(10000);
  for (Real& x : e) x = expArg(rng);
  for (Real& x : l) x = std::exp(Real(logArg(rng)));
  Real sink = 0;
  const double ce = callsPerSecond([](Real x) { return expl(x); }, e, sink);
  const double xe = callsPerSecond([](Real x) { return zentrova::xmath::exp(x); }, e, sink);
  const double cl = callsPerSecond([](Real x) { return logl(x); }, l, sink);
  const double xl = callsPerSecond([](Real x) { return zentrova::xmath::log(x); }, l, sink);
  std::printf("expl (C library): %7.1f M calls/s  %6.1f ns\n", ce / 1e6, 1e9 / ce);
  std::printf("exp:              %7.1f M calls/s  %6.1f ns  (%.1fx)\n", xe / 1e6, 1e9 / xe, xe / ce);
  std::printf("logl (C library): %7.1f M calls/s  %6.1f ns\n", cl / 1e6, 1e9 / cl);
  std::printf("log:              %7.1f M calls/s  %6.1f ns  (%.1fx)\n", xl / 1e6, 1e9 / xl, xl / cl);
  return sink == 42 ? 1 : 0;
}
