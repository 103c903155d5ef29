// Calls per second of the program's exp and log against the C library's
// expl and logl, on arguments of the size the force law feeds them.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "dynamics/xmath.h"

using zentrova::Real;

namespace {

// Seconds for 20 passes over the arguments; sink keeps the results alive.
template <class F>
double seconds(F f, const std::vector<Real>& args, Real& sink) {
  const auto t0 = std::chrono::steady_clock::now();
  Real s = 0;
  for (int rep = 0; rep < 20; ++rep)
    for (Real x : args) s += f(x);
  sink += s;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> expArg(-60, 60), logArg(-5, 5);
  std::vector<Real> e(10000), l(10000);
  for (Real& x : e) x = expArg(rng);
  for (Real& x : l) x = std::exp(Real(logArg(rng)));
  Real sink = 0;
  // The four take turns and each keeps its best round, so that a change in
  // the machine's load falls on all of them alike.
  double best[4] = {1e9, 1e9, 1e9, 1e9};
  for (int round = 0; round < 7; ++round) {
    best[0] = std::min(best[0], seconds([](Real x) { return expl(x); }, e, sink));
    best[1] = std::min(best[1], seconds([](Real x) { return zentrova::xmath::exp(x); }, e, sink));
    best[2] = std::min(best[2], seconds([](Real x) { return logl(x); }, l, sink));
    best[3] = std::min(best[3], seconds([](Real x) { return zentrova::xmath::log(x); }, l, sink));
  }
  const double calls = 20.0 * e.size();
  auto ns = [&](int i) { return 1e9 * best[i] / calls; };
  std::printf("expl (C library): %6.1f ns a call\n", ns(0));
  std::printf("exp:              %6.1f ns a call  (%.1fx)\n", ns(1), best[0] / best[1]);
  std::printf("logl (C library): %6.1f ns a call\n", ns(2));
  std::printf("log:              %6.1f ns a call  (%.1fx)\n", ns(3), best[2] / best[3]);
  return sink == 42 ? 1 : 0;
}
