#include "dynamics/verlet.h"

#include "dynamics/literal_step.h"
#include "state/fp_guard.h"

namespace zentrova {

namespace {

struct Field {
  RealSlots v[3];
};

// F on every moving particle at the committed positions of `at`.
void forcesAt(const ParticleSet& at, const StepControls& controls,
              const std::function<void(ParticleSet&, const StepControls&)>& eulerStep, Field& f) {
  ParticleSet probe = at;
  StepControls plain = controls;
  plain.verlet = false;
  plain.cool = false;
  probe.Dt = 1;  // F·1 is F exactly, and 1·0 + F is F
  probe.Ux1 = {}, probe.Uy1 = {}, probe.Uz1 = {};
  probe.X1 = {}, probe.Y1 = {}, probe.Z1 = {};
  eulerStep(probe, plain);
  f.v[0] = probe.Ux1, f.v[1] = probe.Uy1, f.v[2] = probe.Uz1;
}

}  // namespace

void verletStep(ParticleSet& set, const StepControls& c,
                const std::function<void(ParticleSet&, const StepControls&)>& eulerStep) {
  const int count = literal::usedCount(set);
  Field f0, f1;
  forcesAt(set, c, eulerStep, f0);

  ParticleSet moved = set;
  Field half;
  clearFpFaults();
  const Real dt = set.Dt, h = set.Dt / 2, g = coolingFactor(c.cool);
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i) || isHeld(i, c.blockade)) continue;
    const int a = i - 1;
    for (int axis = 0; axis < 3; ++axis) {
      const Real vh = g * literal::velocity(set, axis)[a] + f0.v[axis][a] * h;
      half.v[axis][a] = vh;
      literal::position(moved, axis)[a] = literal::position(set, axis)[a] + vh * dt;
    }
    moved.X[a] = moved.X1[a], moved.Y[a] = moved.Y1[a], moved.Z[a] = moved.Z1[a];
  }
  checkFpFaults();

  forcesAt(moved, c, eulerStep, f1);
  clearFpFaults();
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i) || isHeld(i, c.blockade)) continue;
    const int a = i - 1;
    for (int axis = 0; axis < 3; ++axis)
      literal::velocity(moved, axis)[a] = half.v[axis][a] + f1.v[axis][a] * h;
  }
  checkFpFaults();
  set.X1 = moved.X1, set.Y1 = moved.Y1, set.Z1 = moved.Z1;
  set.Ux1 = moved.Ux1, set.Uy1 = moved.Uy1, set.Uz1 = moved.Uz1;
  literal::commit(set, c.blockade);
}

}  // namespace zentrova
