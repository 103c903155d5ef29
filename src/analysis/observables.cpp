#include "analysis/observables.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <limits>

#include "analysis/conservation.h"
#include "analysis/observable_table.h"
#include "analysis/pair_forces.h"
#include "dynamics/force_law.h"
#include "state/fp_guard.h"

namespace zentrova {

namespace {

// 1.25e-12 = 10^-14 * 125: the long-range prefactor of the law without its
// derivative's factors 0.09 * 75.
Real longRangeScale() { return power(10.0L, -14.0L) * 125.0L; }

// f(d) = w^(-w^19), w = 9.45 d; g(d) = v^(75/v), v = 0.09 d. From w = 2 on
// f is below the smallest extended real, exactly 0: its powers are skipped.
Real coreF(Real d) {
  const Real w = 9.45L * d;
  if (w >= 2) return 0;
  return power(w, -power(w, 19.0L));
}
Real coreG(Real d) {
  const Real v = 0.09L * d;
  return power(v, 75.0L / v);
}
// h_p(d) = u^((10/u) (2.5 - u^20)), u = 1.029 d / p; exactly 0 from u = 2
// on, as f is.
Real shellH(Real p, Real d) {
  const Real u = (1.029L / p) * d;
  if (u >= 2) return 0;
  return power(u, (10.0L / u) * (2.5L - power(u, 20.0L)));
}

Real shellGroupPotential(Real d, int S, Real b, Real c, Real dd) {
  return -S * coreF(d) + longRangeScale() * (coreG(d) - 1.0L) + shellH(b, d) + shellH(c, d) + shellH(dd, d);
}

// The law's order: d = sqrt(dz^2 + (dy^2 + dx^2)).
Real distance(const ParticleSet& s, int i, int k) {
  const int a = i - 1, b = k - 1;
  const Real dx = s.X[a] - s.X[b], dy = s.Y[a] - s.Y[b], dz = s.Z[a] - s.Z[b];
  return std::sqrt(dz * dz + (dy * dy + dx * dx));
}

// force_max and step_max over the particles a step moves.
void measureForces(const ParticleSet& set, const StepControls& c, Observables& o, bool withForces) {
  ForceField f;
  const bool fine = !withForces || pairForces(set, c, &f, nullptr);
  const int count = set.Count < kMaxParticles ? set.Count : kMaxParticles;
  Real force = 0, speed = 0;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i) || isHeld(i, c.blockade)) continue;
    const int a = i - 1;
    force = std::max(force, std::sqrt(f.x[a] * f.x[a] + f.y[a] * f.y[a] + f.z[a] * f.z[a]));
    speed = std::max(speed, std::sqrt(set.Ux[a] * set.Ux[a] + set.Uy[a] * set.Uy[a] + set.Uz[a] * set.Uz[a]));
  }
  if (withForces) o.force_max = fine ? force : std::numeric_limits<Real>::quiet_NaN();
  o.step_max = speed * std::fabs(set.Dt);
}

}  // namespace

Real pairPotential(const ParticleSet& s, int i, int k, Real d, bool taoscope) {
  const Real sigma = pairSign(i, k, taoscope);
  const int S = modeSign(taoscope);
  switch (groupOf(k, s.Count)) {
    case Group::PE: return sigma * s.A1 * (power(d, s.B1 / d) - 1.0L);
    case Group::PES1: return sigma * s.A2 * shellGroupPotential(d, S, s.B2, s.C2, s.D2);
    case Group::PES2: return sigma * s.A3 * shellGroupPotential(d, S, s.B3, s.C3, s.D3);
  }
  return 0;
}

void groupPotentials(const ParticleSet& set, bool taoscope, Real out[3]) {
  FpFlagsKept kept;
  std::feclearexcept(kFaultFlags);
  const int count = set.Count < kMaxParticles ? set.Count : kMaxParticles;
  out[0] = out[1] = out[2] = 0;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    const Group g = groupOf(i, set.Count);
    for (int k = i + 1; k <= count; ++k)
      if (set.present(k) && groupOf(k, set.Count) == g)
        out[static_cast<int>(g)] += pairPotential(set, i, k, distance(set, i, k), taoscope);
  }
  if (std::fetestexcept(kFaultFlags)) out[0] = out[1] = out[2] = std::numeric_limits<Real>::quiet_NaN();
}

Real potentialEnergy(const ParticleSet& set, bool taoscope) {
  FpFlagsKept kept;
  std::feclearexcept(kFaultFlags);
  const int count = set.Count < kMaxParticles ? set.Count : kMaxParticles;
  Real sum = 0;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    for (int k = i + 1; k <= count; ++k)
      if (set.present(k) && groupOf(k, set.Count) == groupOf(i, set.Count))
        sum += pairPotential(set, i, k, distance(set, i, k), taoscope);
  }
  return std::fetestexcept(kFaultFlags) ? std::numeric_limits<Real>::quiet_NaN() : sum;
}

const char* whyNotConserved(const ParticleSet& set, const StepControls& c) {
  return conservationReasonText(conservationReasons(set, c) & kEnergyReasons);
}

namespace {

Observables measure(const ParticleSet& set, const StepControls& controls, bool full) {
  FpFlagsKept kept;  // measuring never shows in the next step's fault check
  Observables o;
  o.step = set.Time;
  o.time = static_cast<Real>(set.Time) * set.Dt;
  const int count = set.Count < kMaxParticles ? set.Count : kMaxParticles;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    const int a = i - 1;
    const Real e = (set.Ux[a] * set.Ux[a] + set.Uy[a] * set.Uy[a] + set.Uz[a] * set.Uz[a]) / 2;
    o.kinetic += e;
    switch (groupOf(i, set.Count)) {
      case Group::PE: o.kinetic_pe += e; break;
      case Group::PES1: o.kinetic_pes1 += e; break;
      case Group::PES2: o.kinetic_pes2 += e; break;
    }
    o.com_x += set.X[a];
    o.com_y += set.Y[a];
    o.com_z += set.Z[a];
    o.momentum_x += set.Ux[a];
    o.momentum_y += set.Uy[a];
    o.momentum_z += set.Uz[a];
    o.angular_x += set.Y[a] * set.Uz[a] - set.Z[a] * set.Uy[a];
    o.angular_y += set.Z[a] * set.Ux[a] - set.X[a] * set.Uz[a];
    o.angular_z += set.X[a] * set.Uy[a] - set.Y[a] * set.Ux[a];
    ++o.present;
  }
  o.reasons = conservationReasons(set, controls);
  o.notConserved = conservationReasonText(o.reasons & kEnergyReasons);
  o.conservative = o.notConserved ? 0 : 1;
  o.momentum_conserved = (o.reasons & kMomentumReasons) ? 0 : 1;
  o.potential = potentialEnergy(set, controls.forces.taoscope);
  o.energy = o.kinetic + o.potential;
  if (full) {
    Real groups[3];
    groupPotentials(set, controls.forces.taoscope, groups);
    o.potential_pe = groups[0], o.potential_pes1 = groups[1], o.potential_pes2 = groups[2];
  }
  measureForces(set, controls, o, full);
  o.min_distance = std::numeric_limits<Real>::infinity();
  if (o.present == 0) return o;
  o.com_x /= o.present;
  o.com_y /= o.present;
  o.com_z /= o.present;
  Real spread = 0;
  Real closest = std::numeric_limits<Real>::infinity();
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    const int a = i - 1;
    const Real dx = set.X[a] - o.com_x, dy = set.Y[a] - o.com_y, dz = set.Z[a] - o.com_z;
    spread += dx * dx + dy * dy + dz * dz;
    for (int k = i + 1; k <= count; ++k) {
      if (!set.present(k)) continue;
      const int b = k - 1;
      const Real px = set.X[a] - set.X[b], py = set.Y[a] - set.Y[b], pz = set.Z[a] - set.Z[b];
      const Real d2 = px * px + py * py + pz * pz;
      // A NaN distance wins and stays, whatever the order of the pairs: the
      // closest pair of a set holding NaN is unknown, not some finite pair.
      if (o.min_i == 0 || d2 < closest || (std::isnan(d2) && !std::isnan(closest))) {
        closest = d2;
        o.min_i = i;
        o.min_k = k;
      }
    }
  }
  o.radius = std::sqrt(spread / o.present);
  // Unit masses and Boltzmann constant: (3/2) N T is the kinetic energy
  // about the centre of mass, computed from the velocities less their mean.
  const Real mx = o.momentum_x / o.present, my = o.momentum_y / o.present, mz = o.momentum_z / o.present;
  Real inner = 0;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    const int a = i - 1;
    const Real vx = set.Ux[a] - mx, vy = set.Uy[a] - my, vz = set.Uz[a] - mz;
    inner += (vx * vx + vy * vy + vz * vz) / 2;
  }
  o.temperature = 2 * inner / (3 * o.present);
  if (o.min_i != 0) o.min_distance = std::sqrt(closest);
  return o;
}

}  // namespace

Observables observe(const ParticleSet& set, const StepControls& controls) { return measure(set, controls, true); }

Observables observeEnergy(const ParticleSet& set, const StepControls& controls) {
  return measure(set, controls, false);
}

const char* observablesCsvHeader() {
  static const std::string header = [] {
    std::string h;
    for (const ObservableColumn& c : observableTable()) h += (h.empty() ? "" : ",") + std::string(c.name);
    return h;
  }();
  return header.c_str();
}

std::string observablesCsvRow(const Observables& o) {
  std::string row;
  for (const ObservableColumn& c : observableTable()) {
    if (!row.empty()) row += ',';
    row += observableMachineText(c, o);
  }
  return row;
}

}  // namespace zentrova
