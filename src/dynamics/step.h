#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "dynamics/force_law.h"
#include "state/particle_set.h"

namespace zentrova {

// The switches of the main window that one step reads.
struct StepControls {
  ForceSwitches forces;
  bool cool = false;      // "Cool"
  bool blockade = false;  // "Blockade": particles 20, 40 and 60 held
  // Velocity Verlet instead of the velocity-first step: second order, with
  // the same law, switches and fault checks, and two force evaluations.
  bool verlet = false;
};

// 0.99 while Cool is ticked, else exactly 1.
Real coolingFactor(bool cool);
// The held particles of Blockade are literal numbers, whatever Count is.
bool isHeld(int i, bool blockade);

// One step, literally: three force calls per moving particle, each summing
// over all sources, then the commit of the step buffers. A fault throws
// FpError after the particles handled before it have updated their step
// buffers; the committed arrays and DrawX/Y/Z are untouched.
void stepReference(ParticleSet& set, const StepControls& controls);

// The same step evaluating each pair once, spread over a pool of threads.
// Results are bit for bit those of stepReference; when anything raises a
// fault flag, the step is redone by stepReference from the unchanged state,
// so faults and the partial state they leave are the same too.
class FastStepper {
 public:
  // threads <= 0: defaultStepThreads() (ZENTROVA_THREADS, else one per
  // processor the process may run on). At most 16, and fewer when the system
  // refuses to create more; threads() tells how many there are.
  explicit FastStepper(int threads = 0);
  ~FastStepper();
  FastStepper(const FastStepper&) = delete;
  FastStepper& operator=(const FastStepper&) = delete;

  void step(ParticleSet& set, const StepControls& controls);
  int threads() const;
  // The threads its steps have used: 1 while every step was too small to share.
  int threadsUsed() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The step the program uses: a process-wide FastStepper.
void integrateStep(ParticleSet& set, const StepControls& controls);

// integrateStep for a run that goes on after a fault: a step that faults
// leaves the step buffers as the last completed step left them, so every
// array of the set describes that one step.
void integrateWholeStep(ParticleSet& set, const StepControls& controls);

// Called after each completed step with the new Time.
using StepCallback = std::function<void(std::int64_t)>;

// Steps until `steps` are done or stop() (asked before each step) says so,
// with the stepper, or the literal step when it is null; Time and afterStep
// as in runStepsHeadless. Returns the steps completed; a fault propagates.
std::int64_t runStepsUntil(ParticleSet& set, const StepControls& controls, std::int64_t steps, FastStepper* stepper,
                           const std::function<bool()>& stop, const StepCallback& afterStep = {});

// Runs steps without a window: Time counts on by one per completed step.
// afterStep (if given) is called with the new Time after each step. A fault
// propagates with Time and the committed arrays at the last completed step.
void runStepsHeadless(ParticleSet& set, const StepControls& controls, std::int64_t steps, bool reference = false,
                      const StepCallback& afterStep = {});
// The same with a stepper of the caller's own: worker threads do not survive
// a fork, so a process that may fork (a Python interpreter) keeps one per
// process.
void runStepsHeadless(ParticleSet& set, const StepControls& controls, std::int64_t steps, FastStepper& stepper,
                      const StepCallback& afterStep = {});

}  // namespace zentrova
