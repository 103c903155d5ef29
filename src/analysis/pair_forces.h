#pragma once
#include "dynamics/step.h"
#include "state/particle_set.h"

namespace zentrova {

// Forces on each particle, slot i - 1 for particle i.
struct ForceField {
  RealSlots x{}, y{}, z{};
};

// The size of the pull of a source of group g at distance d: the pull on i
// from k along each axis is pairSign(i, k) * ((r_i - r_k) / d) * pullScale.
// Leaves fault flags raised.
Real pullScale(const ParticleSet& set, Group g, Real d, bool taoscope);

// Evaluates every pair of present particles once. `applied`: the forces a
// step applies to its moving particles (the switches on, held particles
// feeling none). `potential`: the forces of the potential on every present
// particle, -dU/dr from the pairs of its own group whatever the switches.
// Either may be null. Returns false when a power faulted; the caller's flags
// are kept as they were.
bool pairForces(const ParticleSet& set, const StepControls& controls, ForceField* applied, ForceField* potential);

}  // namespace zentrova
