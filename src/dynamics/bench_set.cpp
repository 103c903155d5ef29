#include "dynamics/bench_set.h"

namespace zentrova {

ParticleSet denseBenchSet() {
  ParticleSet s;
  s.Count = kMaxParticles;
  s.Dt = 0.001L;
  s.A1 = 1, s.B1 = 2.718L;
  s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
  s.A3 = 1, s.B3 = 0.3L, s.C3 = 0.671L, s.D3 = 1.2L;
  for (int i = 1; i <= kMaxParticles; ++i) {
    const int a = i - 1;
    const Real jitter = Real((i * 37) % 11) / 200.0L;
    s.X[a] = 0.45L * (a % 4) + jitter;
    s.Y[a] = 0.45L * ((a / 4) % 4) - jitter;
    s.Z[a] = 0.45L * (a / 16) + jitter / 2;
    s.setPresent(i, true);
  }
  s.X1 = s.X, s.Y1 = s.Y, s.Z1 = s.Z;
  s.DrawX = s.X, s.DrawY = s.Y, s.DrawZ = s.Z;
  return s;
}

}  // namespace zentrova
