#pragma once
#include "analysis/pair_forces.h"
#include "dynamics/step.h"
#include "state/particle_set.h"

namespace zentrova {

// The work of the forces no potential accounts for (the pulls across
// groups, a group's pull switched off, Cool's damping), summed over the
// steps of a run: per step and moving particle F′·(u + u′)/2·dt. F′·dt is
// the step's change of velocity less the potential's share of it, so that
// kinetic + potential − work changes only by the step's own error.
class WorkMeter {
 public:
  // Counts from this state on, with work 0.
  void start(const ParticleSet& set, const StepControls& controls);
  // Adds the step just taken under these controls. The set must not have
  // been changed since start or the last afterStep but by that step.
  void afterStep(const ParticleSet& set, const StepControls& controls);
  Real work() const { return work_; }

 private:
  void remember(const ParticleSet& set, const StepControls& controls);

  bool started_ = false;
  Real work_ = 0;
  RealSlots ux_{}, uy_{}, uz_{};
  ForceField potential_;  // the potential's forces at the positions before the step
  bool potentialFine_ = true;
};

}  // namespace zentrova
