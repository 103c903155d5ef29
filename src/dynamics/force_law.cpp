#include "dynamics/force_law.h"

#include "dynamics/force_terms.h"
#include "dynamics/literal_step.h"
#include "state/fp_guard.h"

namespace zentrova {

using fpops::Plain;
using fpops::Trapping;

Real power(Real x, Real y) { return terms::powerT<Plain>(x, y); }

int modeSign(bool taoscope) { return taoscope ? 1 : -1; }

int pairSign(int i, int k, bool taoscope) { return (i - k) % 2 == 0 ? modeSign(taoscope) : -1; }

Real coreTerm(Real d, int S) { return terms::coreTermT<Plain>(d, S); }

Real shellTerm(Real p, Real d) { return terms::shellTermT<Plain>(p, d); }

Real peLaw(Real d, Real A1, Real B1) { return -terms::peFactorT<Plain>(1.0L, d, A1, B1); }

Real forceComponent(const ParticleSet& set, int i, Axis axis, const ForceSwitches& sw) {
  return literal::forceComponentT<Plain, Trapping>(set, i, axis, sw);
}

Real forceX(const ParticleSet& set, int i, const ForceSwitches& sw) { return forceComponent(set, i, Axis::X, sw); }
Real forceY(const ParticleSet& set, int i, const ForceSwitches& sw) { return forceComponent(set, i, Axis::Y, sw); }
Real forceZ(const ParticleSet& set, int i, const ForceSwitches& sw) { return forceComponent(set, i, Axis::Z, sw); }

}  // namespace zentrova
