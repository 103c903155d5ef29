#pragma once
#include <string>

#include "state/particle_set.h"

namespace zentrova {

// What a run is measured by, over the present particles of a set, unit masses.
// With no present particle the sums and means are 0; with fewer than two,
// min_distance is +infinity and min_i = min_k = 0. Ties go to the first pair
// (lowest i, then lowest k); a NaN distance makes min_distance NaN.
struct Observables {
  int step = 0;        // Time, the completed steps
  Real time = 0;       // step * Dt
  Real kinetic = 0;    // sum of (ux^2 + uy^2 + uz^2) / 2
  Real kinetic_pe = 0, kinetic_pes1 = 0, kinetic_pes2 = 0;
  Real com_x = 0, com_y = 0, com_z = 0;  // mean position
  Real radius = 0;                       // rms distance from the mean position
  Real min_distance = 0;                 // closest present pair, particles min_i < min_k
  int min_i = 0, min_k = 0;
  int present = 0;
};

// Never raises a floating-point fault the caller could see: the fault flags
// are as they were on entry. Overflowing sums come out as infinity.
Observables observe(const ParticleSet& set);

// The CSV form shared by the simulator and the Monitor, 21 significant digits.
const char* observablesCsvHeader();  // "step,time,kinetic,...,min_k", no newline
std::string observablesCsvRow(const Observables& o);  // no newline

}  // namespace zentrova
