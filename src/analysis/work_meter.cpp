#include "analysis/work_meter.h"

#include <algorithm>
#include <limits>

#include "state/fp_guard.h"

namespace zentrova {

void WorkMeter::remember(const ParticleSet& set, const StepControls& controls) {
  ux_ = set.Ux, uy_ = set.Uy, uz_ = set.Uz;
  potentialFine_ = pairForces(set, controls, nullptr, &potential_);
}

void WorkMeter::start(const ParticleSet& set, const StepControls& controls) {
  started_ = true;
  work_ = 0;
  remember(set, controls);
}

void WorkMeter::afterStep(const ParticleSet& set, const StepControls& controls) {
  if (!started_) return start(set, controls);
  FpFlagsKept kept;
  const ForceField before = potential_;
  const bool beforeFine = potentialFine_;
  const RealSlots bx = ux_, by = uy_, bz = uz_;
  remember(set, controls);
  if (!beforeFine || !potentialFine_) {
    work_ = std::numeric_limits<Real>::quiet_NaN();
    return;
  }
  const Real dt = set.Dt;
  const int count = std::clamp(set.Count, 0, kMaxParticles);
  Real sum = 0;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i) || isHeld(i, controls.blockade)) continue;
    const int a = i - 1;
    // The velocity-first step changes u by F(x)·dt; velocity Verlet by the
    // mean of F(x) and F(x′) times dt.
    auto share = [&](const RealSlots& f0, const RealSlots& f1) {
      return (controls.verlet ? (f0[a] + f1[a]) / 2 : f0[a]) * dt;
    };
    const Real sx = share(before.x, potential_.x), sy = share(before.y, potential_.y),
               sz = share(before.z, potential_.z);
    sum += ((set.Ux[a] - bx[a]) - sx) * (bx[a] + set.Ux[a]) / 2 + ((set.Uy[a] - by[a]) - sy) * (by[a] + set.Uy[a]) / 2 +
           ((set.Uz[a] - bz[a]) - sz) * (bz[a] + set.Uz[a]) / 2;
  }
  work_ += sum;
}

}  // namespace zentrova
