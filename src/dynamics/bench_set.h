#pragma once
#include "state/particle_set.h"

namespace zentrova {

// 60 particles in a jittered 4x4x4 lattice with the easy square's
// parameters: every pair is within reach of the shell terms. The set the
// step benchmarks measure.
ParticleSet denseBenchSet();

}  // namespace zentrova
