// Headless simulator: the force law and the integration run without a window.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "dynamics/force_law.h"
#include "dynamics/bench_set.h"
#include "dynamics/step.h"
#include "files/io_error.h"
#include "state/errors.h"
#include "state/extended.h"
#include "state/number_text.h"
#include "state/particle_record.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_messages.h"
#include "sim_options.h"
#include "sim_output.h"
#include "sim_render.h"
#include "sim_signals.h"

using namespace zentrova;

namespace {

constexpr int kExitFault = 1;
constexpr int kExitInput = 2;

std::string num(Real v) { return machineReal(v); }

int cmdForces(const Options& o) {
  ParticleRecord record;
  ParticleSet set;
  loadInputSet(*o.in, record, set, settingNames(o.settings));
  applySettings(o.settings, set);
  reportNonFinite(*o.in, set);
  std::string text;
  for (int i = 1; i <= set.Count; ++i) {
    if (!set.present(i)) continue;
    const ForceSwitches& sw = o.controls.forces;
    const Real fx = forceX(set, i, sw);
    const Real fy = forceY(set, i, sw);
    const Real fz = forceZ(set, i, sw);
    text += std::to_string(i) + " " + num(fx) + " " + num(fy) + " " + num(fz) + "\n";
  }
  writeStandardOutput(text);
  return 0;
}


using Clock = std::chrono::steady_clock;

bool sameBits(const RealSlots& a, const RealSlots& b) {
  for (int n = 0; n < kMaxParticles; ++n) {
    std::uint8_t x[kExtendedBytes], y[kExtendedBytes];
    encodeExtended(a[n], x);
    encodeExtended(b[n], y);
    if (std::memcmp(x, y, sizeof x) != 0) return false;
  }
  return true;
}

bool sameState(const ParticleSet& a, const ParticleSet& b) {
  const RealSlots ParticleSet::*arrays[] = {&ParticleSet::X,     &ParticleSet::Y,     &ParticleSet::Z,
                                            &ParticleSet::Ux,    &ParticleSet::Uy,    &ParticleSet::Uz,
                                            &ParticleSet::X1,    &ParticleSet::Y1,    &ParticleSet::Z1,
                                            &ParticleSet::Ux1,   &ParticleSet::Uy1,   &ParticleSet::Uz1,
                                            &ParticleSet::DrawX, &ParticleSet::DrawY, &ParticleSet::DrawZ};
  for (auto m : arrays)
    if (!sameBits(a.*m, b.*m)) return false;
  return true;
}

int cmdBench(const Options& o) {
  ParticleSet initial;
  if (o.in) {
    ParticleRecord record;
    loadInputSet(*o.in, record, initial);
  } else {
    initial = denseBenchSet();
  }
  const int steps = static_cast<int>(o.steps.value_or(20));
  StepControls controls;
  FastStepper stepper(o.threads);
  // An evolved set spends its time differently: most of its pairs lie
  // beyond the reach of the short-range terms.
  if (o.warm > 0) runStepsHeadless(initial, controls, o.warm, stepper);

  // The baseline is the literal step with the C library's exp and log. The
  // steps take turns, one of each literal kind to ten fast ones of each
  // thread count, so that a change in the machine's load falls on all of
  // them alike. `fast` keeps level with `ref` for the comparison; `more`
  // takes the other fast steps; `fast1` and `more1` the same on one thread.
  ParticleSet base = initial, ref = initial, fast = initial, more = initial, fast1 = initial, more1 = initial;
  std::optional<FastStepper> single;
  if (stepper.threads() > 1) single.emplace(1);
  const int fastSteps = steps * 10;
  double baseSeconds = 0, refSeconds = 0, fastSeconds = 0, oneSeconds = 0;
  auto timed = [](double& total, const auto& run) {
    const auto t0 = Clock::now();
    run();
    total += std::chrono::duration<double>(Clock::now() - t0).count();
  };
  for (int s = 0; s < steps; ++s) {
    timed(baseSeconds, [&] { stepLibmBaseline(base, controls); });
    timed(refSeconds, [&] { stepReference(ref, controls); });
    timed(fastSeconds, [&] {
      stepper.step(fast, controls);
      for (int n = 1; n < 10; ++n) stepper.step(more, controls);
    });
    if (single)
      timed(oneSeconds, [&] {
        single->step(fast1, controls);
        for (int n = 1; n < 10; ++n) single->step(more1, controls);
      });
  }
  const bool identical = sameState(ref, fast) && (!single || sameState(ref, fast1));

  const double b = baseSeconds > 0 ? steps / baseSeconds : 0;
  const double r = refSeconds > 0 ? steps / refSeconds : 0;
  const double f = fastSeconds > 0 ? fastSteps / fastSeconds : 0;
  const double f1 = !single ? f : oneSeconds > 0 ? fastSteps / oneSeconds : 0;
  std::printf("baseline: %.3f steps/s\n", b);
  std::printf("reference: %.3f steps/s\n", r);
  std::printf("fast: %.3f steps/s (%d threads)\n", f, stepper.threads());
  std::printf("fast, 1 thread: %.3f steps/s\n", f1);
  std::printf("speedup: %.2f\n", b > 0 ? f / b : 0.0);
  std::printf("speedup over reference: %.2f\n", r > 0 ? f / r : 0.0);
  std::printf("identical: %s\n", identical ? "yes" : "no");
  return identical ? 0 : kExitFault;
}

}  // namespace

int main(int argc, char** argv) {
  // Before anything else: a signal from the first instant on ends the
  // command as it would later.
  catchInterruptions();
  ignoreFileSizeLimitSignal();
  const auto began = std::chrono::steady_clock::now();
  Options o;
  try {
    o = parseOptions(argc, argv);
  } catch (const InfoRequest& r) {
    std::fputs(r.text, stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
    simMessage("standard output", simIoMessage(errno ? errno : EIO));
    return kExitInput;
  } catch (const UsageError& e) {
    if (!e.what.empty()) simMessage(e.what);
    std::fputs(e.usage, stderr);
    return kExitInput;
  } catch (const AppError& e) {
    simMessage(e.what());
    std::fputs(o.command == "render" ? kRenderUsage : kUsage, stderr);
    return kExitInput;
  }
  // Only run and observe stop between steps; the others end at once.
  if (o.command != "run" && o.command != "observe") endAtOnceOnInterruption();
  if (o.command == "render") return simRender(o, argv);
  try {
    int status = 0;
    if (o.command == "forces") status = cmdForces(o);
    else if (o.command == "run") status = cmdRun(o, argc, argv, began);
    else if (o.command == "observe")
      status = cmdObserve({*o.in, *o.steps, o.every, o.threads, o.startStep, o.controls, o.settings});
    else if (o.command == "rdf") status = cmdRdf(o);
    else if (o.command == "convert") status = cmdConvert({*o.in, *o.out, o.startStep, o.controls.forces.taoscope, o.settings});
    else status = cmdBench(o);
    // What is still buffered, and every earlier write, checked once more.
    finishStandardOutput();
    return status;
  } catch (const FpError& e) {
    if (o.in)
      reportFault(*o.in, e);
    else
      simMessage(e.what());
    return kExitFault;
  } catch (const AppError& e) {
    simMessage(e.what());
    return kExitInput;
  }
}
