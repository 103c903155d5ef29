#include "dynamics/bench_set.h"

#include "state/named_parameters.h"

namespace zentrova {

ParticleSet denseBenchSet() {
  ParticleSet s;
  s.Count = kMaxParticles;
  s.Dt = 0.001L;
  applyStandardParameters(s);
  for (int i = 1; i <= kMaxParticles; ++i) {
    const int a = i - 1;
    const Real jitter = Real((i * 37) % 11) / 200.0L;
    s.X[a] = 0.45L * (a % 4) + jitter;
    s.Y[a] = 0.45L * ((a / 4) % 4) - jitter;
    s.Z[a] = 0.45L * (a / 16) + jitter / 2;
    s.setPresent(i, true);
  }
  s.alignAll();
  return s;
}

}  // namespace zentrova
