// Steps per second of the literal step and of the fast one with one thread
// and with every hardware thread, on a dense 60-particle set.
#include <chrono>
#include <cstdio>
#include <thread>

#include "dynamics/step.h"

using namespace zentrova;

namespace {

ParticleSet denseSet() {
  ParticleSet s;
  s.Count = kMaxParticles;
  s.Dt = 0.001L;
  s.A1 = 1, s.B1 = 2.718L;
  s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
  s.A3 = 1, s.B3 = 0.3L, s.C3 = 0.671L, s.D3 = 1.2L;
  for (int a = 0; a < kMaxParticles; ++a) {
    const Real jitter = Real((a * 37) % 11) / 200.0L;
    s.X[a] = s.X1[a] = 0.45L * (a % 4) + jitter;
    s.Y[a] = s.Y1[a] = 0.45L * ((a / 4) % 4) - jitter;
    s.Z[a] = s.Z1[a] = 0.45L * (a / 16) + jitter / 2;
    s.Present[a] = 1;
  }
  return s;
}

template <class Step>
double stepsPerSecond(Step step, int steps) {
  ParticleSet s = denseSet();
  const auto t0 = std::chrono::steady_clock::now();
  for (int n = 0; n < steps; ++n) step(s);
  return steps / std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
  const StepControls c;
  const double ref = stepsPerSecond([&](ParticleSet& s) { stepReference(s, c); }, 20);
  FastStepper one(1);
  const double fast1 = stepsPerSecond([&](ParticleSet& s) { one.step(s, c); }, 300);
  FastStepper all(0);
  const double fastN = stepsPerSecond([&](ParticleSet& s) { all.step(s, c); }, 300);
  std::printf("reference:           %9.2f steps/s\n", ref);
  std::printf("fast, 1 thread:      %9.2f steps/s  (%.1fx)\n", fast1, fast1 / ref);
  std::printf("fast, %d threads:     %9.2f steps/s  (%.1fx)\n", all.threads(), fastN, fastN / ref);
  return 0;
}
