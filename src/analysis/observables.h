#pragma once
#include <cstdint>
#include <string>

#include "dynamics/step.h"
#include "state/particle_set.h"

namespace zentrova {

// What a run is measured by, over the present particles of a set, unit masses.
// With no present particle the sums and means are 0; with fewer than two,
// min_distance is +infinity and min_i = min_k = 0. Ties go to the first pair
// (lowest i, then lowest k); a NaN distance makes min_distance NaN.
// observable_table.h says what each one is and how it is written. The
// integers are all 64-bit, as the step count needs.
struct Observables {
  std::int64_t step = 0;  // Time, the completed steps
  Real time = 0;       // step * Dt
  Real kinetic = 0;    // sum of (ux^2 + uy^2 + uz^2) / 2
  Real kinetic_pe = 0, kinetic_pes1 = 0, kinetic_pes2 = 0;
  Real com_x = 0, com_y = 0, com_z = 0;  // mean position
  Real radius = 0;                       // rms distance from the mean position
  Real min_distance = 0;                 // closest present pair, particles min_i < min_k
  std::int64_t min_i = 0, min_k = 0;
  Real potential = 0;  // same-group pairs; NaN when a power of it faults
  Real energy = 0;     // kinetic + potential
  std::int64_t conservative = 1;
  Real momentum_x = 0, momentum_y = 0, momentum_z = 0;  // sum of u
  Real angular_x = 0, angular_y = 0, angular_z = 0;     // sum of r x u about the origin
  std::int64_t present = 0;
  // Why the energy may change under these controls; nullptr when conservative.
  const char* notConserved = nullptr;
};

// Never raises a floating-point fault the caller could see: the fault flags
// are as they were on entry. Overflowing sums come out as infinity.
Observables observe(const ParticleSet& set, const StepControls& controls);

// The potential energy of the forces within each group: the sum over pairs
// i < k of present particles of one group of U(d). NaN when one of its
// powers faults; the caller's flags are kept as they were.
Real potentialEnergy(const ParticleSet& set, bool taoscope);
// U of one pair of particles i and k (of one group) at distance d, whose
// force -dU/dd is the pull of either on the other. Leaves fault flags raised.
Real pairPotential(const ParticleSet& set, int i, int k, Real d, bool taoscope);

// Why the total energy of the set need not stay constant under these
// controls, or nullptr when it must: every present particle in one group,
// whose pull is on, and neither Cool nor Blockade.
const char* whyNotConserved(const ParticleSet& set, const StepControls& controls);

// The CSV form shared by the simulator and the Monitor, 21 significant digits
// and a full stop whatever the locale.
const char* observablesCsvHeader();                   // "step,time,kinetic,...", no newline
std::string observablesCsvRow(const Observables& o);  // no newline

}  // namespace zentrova
