// Steps per second of the literal step with the C library's exp and log (the
// baseline), the literal step, and the fast one with one thread and with
// every hardware thread, on a dense 60-particle set.
#include <chrono>
#include <cstdio>
#include <thread>

#include "dynamics/bench_set.h"
#include "dynamics/step.h"

using namespace zentrova;

namespace {

template <class Step>
double stepsPerSecond(Step step, int steps) {
  ParticleSet s = denseBenchSet();
  const auto t0 = std::chrono::steady_clock::now();
  for (int n = 0; n < steps; ++n) step(s);
  return steps / std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  const StepControls c;
  const double base = stepsPerSecond([&](ParticleSet& s) { stepLibmBaseline(s, c); }, 20);
  const double ref = stepsPerSecond([&](ParticleSet& s) { stepReference(s, c); }, 20);
  FastStepper one(1);
  const double fast1 = stepsPerSecond([&](ParticleSet& s) { one.step(s, c); }, 300);
  FastStepper all(0);
  const double fastN = stepsPerSecond([&](ParticleSet& s) { all.step(s, c); }, 300);
  std::printf("baseline (C library): %9.2f steps/s\n", base);
  std::printf("reference:            %9.2f steps/s  (%.1fx)\n", ref, ref / base);
  std::printf("fast, 1 thread:       %9.2f steps/s  (%.1fx)\n", fast1, fast1 / base);
  std::printf("fast, %d threads:      %9.2f steps/s  (%.1fx)\n", all.threads(), fastN, fastN / base);
  return 0;
}
