#pragma once
#include <functional>

#include "dynamics/step.h"

namespace zentrova {

// One velocity Verlet step of the moving particles, from the step buffers as
// the velocity-first step starts (Cool damps the velocity first):
//   v½ = γ·v + F(x)·dt/2,  x′ = x + v½·dt,  v′ = v½ + F(x′)·dt/2.
// The forces are those `eulerStep` applies, the velocity-first step taken
// from rest with dt = 1 and no Cool, which leaves F itself in the velocity
// buffers. A fault throws FpError and leaves the set as it was.
void verletStep(ParticleSet& set, const StepControls& controls,
                const std::function<void(ParticleSet&, const StepControls&)>& eulerStep);

}  // namespace zentrova
