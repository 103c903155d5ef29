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
  Real potential_pe = 0, potential_pes1 = 0, potential_pes2 = 0;  // each group's own pairs
  // The work of the forces no potential accounts for since the run's first
  // measured step (WorkMeter); 0 for a set measured on its own.
  Real work = 0;
  std::int64_t momentum_conserved = 1;  // momentum and angular momentum
  Real temperature = 0;  // 2/3 of the kinetic energy per particle about the centre of mass
  Real force_max = 0;    // the largest force on a moving particle; NaN when a power faults
  Real step_max = 0;     // the largest |u| * |dt| of a moving particle
  // Why energy or momentum may change (ConservationReason bits); 0 when both stay.
  unsigned reasons = 0;
  // The first reason the energy may change; nullptr when conservative.
  const char* notConserved = nullptr;
};

// Never raises a floating-point fault the caller could see: the fault flags
// are as they were on entry. Overflowing sums come out as infinity.
Observables observe(const ParticleSet& set, const StepControls& controls);
// The same without the group potentials and force_max (left 0), which cost
// as much as a step: for sampling the energy at every step of a run.
Observables observeEnergy(const ParticleSet& set, const StepControls& controls);

// The potential energy of the forces within each group: the sum over pairs
// i < k of present particles of one group of U(d). NaN when one of its
// powers faults; the caller's flags are kept as they were.
Real potentialEnergy(const ParticleSet& set, bool taoscope);
// U of one pair of particles i and k (of one group) at distance d, whose
// force -dU/dd is the pull of either on the other. Leaves fault flags raised.
Real pairPotential(const ParticleSet& set, int i, int k, Real d, bool taoscope);

// The potential of each group's own pairs, as potentialEnergy sums them:
// [0] PE, [1] PES1, [2] PES2. All NaN when a power faults.
void groupPotentials(const ParticleSet& set, bool taoscope, Real out[3]);

// Why the total energy of the set need not stay constant under these
// controls, or nullptr when it must (conservation.h has every reason).
const char* whyNotConserved(const ParticleSet& set, const StepControls& controls);

// The CSV form shared by the simulator and the Monitor, 21 significant digits
// and a full stop whatever the locale.
const char* observablesCsvHeader();                   // "step,time,kinetic,...", no newline
std::string observablesCsvRow(const Observables& o);  // no newline

}  // namespace zentrova
