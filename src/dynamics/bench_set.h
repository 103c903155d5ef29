#pragma once
#include "dynamics/step.h"
#include "state/particle_set.h"

// What the step benchmarks measure and measure against; not part of the core
// library (see zentrova_bench in CMakeLists.txt).
namespace zentrova {

// 60 particles in a jittered 4x4x4 lattice with the easy square's
// parameters: every pair is within reach of the shell terms. The set the
// step benchmarks measure.
ParticleSet denseBenchSet();

// The literal step with the C library's expl and logl in place of the
// program's exp and log: the baseline the benchmarks measure against. Its
// last bits differ from stepReference's.
void stepLibmBaseline(ParticleSet& set, const StepControls& controls);

}  // namespace zentrova
