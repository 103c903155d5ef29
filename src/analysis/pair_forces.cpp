#include "analysis/pair_forces.h"

#include <algorithm>
#include <cmath>

#include "dynamics/force_law.h"
#include "state/fp_guard.h"

namespace zentrova {

Real pullScale(const ParticleSet& s, Group g, Real d, bool taoscope) {
  const int S = modeSign(taoscope);
  switch (g) {
    case Group::PE: return peLaw(d, s.A1, s.B1);
    case Group::PES1: return s.A2 * (coreTerm(d, S) + shellTerm(s.B2, d) + shellTerm(s.C2, d) + shellTerm(s.D2, d));
    case Group::PES2: return s.A3 * (coreTerm(d, S) + shellTerm(s.B3, d) + shellTerm(s.C3, d) + shellTerm(s.D3, d));
  }
  return 0;
}

namespace {

bool groupOn(Group g, const ForceSwitches& sw) {
  return g == Group::PE ? !sw.peOut : g == Group::PES1 ? !sw.pes1Out : !sw.pes2Out;
}

void add(ForceField& f, int a, Real scale, Real ex, Real ey, Real ez) {
  f.x[a] += scale * ex, f.y[a] += scale * ey, f.z[a] += scale * ez;
}

}  // namespace

bool pairForces(const ParticleSet& s, const StepControls& c, ForceField* applied, ForceField* potential) {
  FpFlagsKept kept;
  std::feclearexcept(kFaultFlags);
  if (applied) *applied = {};
  if (potential) *potential = {};
  const int count = std::clamp(s.Count, 0, kMaxParticles);
  const bool tao = c.forces.taoscope;
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    const Group gi = groupOf(i, s.Count);
    const bool iMoves = !isHeld(i, c.blockade);
    for (int k = i + 1; k <= count; ++k) {
      if (!s.present(k)) continue;
      const Group gk = groupOf(k, s.Count);
      const bool kMoves = !isHeld(k, c.blockade);
      const bool onI = applied && iMoves && groupOn(gk, c.forces);
      const bool onK = applied && kMoves && groupOn(gi, c.forces);
      const bool own = potential && gi == gk;
      if (!onI && !onK && !own) continue;
      const int a = i - 1, b = k - 1;
      const Real dx = s.X[a] - s.X[b], dy = s.Y[a] - s.Y[b], dz = s.Z[a] - s.Z[b];
      const Real d = std::sqrt(dz * dz + (dy * dy + dx * dx));
      const Real sigma = pairSign(i, k, tao);
      const Real ex = sigma * dx / d, ey = sigma * dy / d, ez = sigma * dz / d;
      // The pull on i follows k's group, the pull on k follows i's.
      const Real fromK = onI || own ? pullScale(s, gk, d, tao) : 0;
      const Real fromI = gi == gk ? fromK : onK ? pullScale(s, gi, d, tao) : 0;
      if (onI) add(*applied, a, fromK, ex, ey, ez);
      if (onK) add(*applied, b, fromI, -ex, -ey, -ez);
      if (own) add(*potential, a, fromK, ex, ey, ez), add(*potential, b, fromK, -ex, -ey, -ez);
    }
  }
  return std::fetestexcept(kFaultFlags) == 0;
}

}  // namespace zentrova
