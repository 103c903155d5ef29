#include "analysis/observables.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "state/fp_guard.h"

namespace zentrova {

namespace {

std::string real(Real v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.21Lg", v);
  return buf;
}

}  // namespace

Observables observe(const ParticleSet& set) {
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
    ++o.present;
  }
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
  if (o.min_i != 0) o.min_distance = std::sqrt(closest);
  return o;
}

const char* observablesCsvHeader() {
  return "step,time,kinetic,kinetic_pe,kinetic_pes1,kinetic_pes2,com_x,com_y,com_z,radius,min_distance,min_i,min_k";
}

std::string observablesCsvRow(const Observables& o) {
  std::string row = std::to_string(o.step);
  for (Real v : {o.time, o.kinetic, o.kinetic_pe, o.kinetic_pes1, o.kinetic_pes2, o.com_x, o.com_y, o.com_z,
                 o.radius, o.min_distance})
    row += "," + real(v);
  row += "," + std::to_string(o.min_i) + "," + std::to_string(o.min_k);
  return row;
}

}  // namespace zentrova
