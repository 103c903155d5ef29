#pragma once
// The literal step over an arithmetic policy pair: Plain for speed, Trapping
// to find the first fault of a call that raised one. The program's step uses
// the program's exp and log; the benchmarks also build it on the C
// library's, as the baseline they measure against.
#include <algorithm>

#include "dynamics/force_terms.h"
#include "dynamics/step.h"
#include "state/fp_guard.h"

namespace zentrova::literal {

template <class Plain, class Trapping>
Real forceComponentT(const ParticleSet& set, int i, Axis axis, const ForceSwitches& sw) {
  // Full speed first; only a call that raised a flag is evaluated again
  // operation by operation to find which fault came first.
  clearFpFaults();
  Real r = terms::forceT<Plain>(set, i, axis, sw);
  asm volatile("" : : "m"(r) : "memory");
  if (const int raised = std::fetestexcept(kFaultFlags)) {
    clearFpFaults();
    terms::forceT<Trapping>(set, i, axis, sw);
    throwFpFault(raised);
  }
  return r;
}

inline int usedCount(const ParticleSet& set) { return std::clamp(set.Count, 0, kMaxParticles); }

inline RealSlots& position(ParticleSet& s, int axis) { return axis == 0 ? s.X1 : axis == 1 ? s.Y1 : s.Z1; }
inline RealSlots& velocity(ParticleSet& s, int axis) { return axis == 0 ? s.Ux1 : axis == 1 ? s.Uy1 : s.Uz1; }

void commit(ParticleSet& s, bool blockade);

template <class Plain, class Trapping>
void stepT(ParticleSet& set, const StepControls& c) {
  const int count = usedCount(set);
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i) || isHeld(i, c.blockade)) continue;
    for (int axis = 0; axis < 3; ++axis) {
      const Real f = forceComponentT<Plain, Trapping>(set, i, static_cast<Axis>(axis), c.forces);
      clearFpFaults();
      Real& u1 = velocity(set, axis)[i - 1];
      Real& x1 = position(set, axis)[i - 1];
      const Real F = Trapping::mul(f, set.Dt);
      const Real g = coolingFactor(c.cool);
      u1 = Trapping::add(Trapping::mul(g, u1), F);
      x1 = Trapping::add(x1, Trapping::mul(u1, set.Dt));
    }
  }
  commit(set, c.blockade);
}

}  // namespace zentrova::literal
