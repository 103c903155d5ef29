// Headless simulator: the force law and the integration run without a window.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "dynamics/force_law.h"
#include "dynamics/bench_set.h"
#include "dynamics/step.h"
#include "files/file_io.h"
#include "files/io_error.h"
#include "files/set_file.h"
#include "state/errors.h"
#include "state/extended.h"
#include "state/number_text.h"
#include "state/particle_record.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_options.h"
#include "sim_output.h"
#include "sim_render.h"
#include "sim_signals.h"
#include "sha256.h"
#include "dynamics/thread_count.h"
#include "files/xyz.h"

using namespace zentrova;

namespace {

constexpr int kExitFault = 1;
constexpr int kExitInput = 2;

std::string num(Real v) { return machineReal(v); }

int cmdForces(const Options& o) {
  ParticleRecord record;
  ParticleSet set;
  loadInputSet(*o.in, record, set);
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

std::string hostName() {
  char buf[256] = {};
  return ::gethostname(buf, sizeof buf - 1) == 0 ? buf : "";
}

// The CSV rows of one step's present particles.
std::string csvRecord(const ParticleSet& s) {
  std::string t;
  const std::string step = std::to_string(s.Time);
  for (int i = 1; i <= s.Count; ++i) {
    if (!s.present(i)) continue;
    const int a = i - 1;
    t += step + "," + std::to_string(i);
    for (Real v : {s.X[a], s.Y[a], s.Z[a], s.Ux[a], s.Uy[a], s.Uz[a]}) t += "," + num(v);
    t += "\n";
  }
  return t;
}

int cmdRun(const Options& o, int argc, char** argv) {
  const std::string started = utcNow();
  ParticleRecord record;
  ParticleSet set;
  loadInputSet(*o.in, record, set);
  std::string inputSha;
  try {
    inputSha = sha256OfFile(*o.in);
  } catch (const IoError& e) {
    failFor(*o.in, e);
  }
  if (o.dt) set.Dt = *o.dt;
  applySettings(o.settings, set);
  std::vector<NamedFile> files{{"the input", *o.in}};
  if (o.out) files.push_back({"-o", *o.out});
  if (o.csv) files.push_back({"--csv", *o.csv});
  if (o.xyz) files.push_back({"--xyz", *o.xyz});
  refuseSameFile(files);
  if (o.out) checkOutput(*o.out);
  const std::vector<int> nonfinite = reportNonFinite(*o.in, set);
  set.Time = o.startStep;

  std::optional<StreamOutput> csv, xyz;
  if (o.csv) csv.emplace(StreamOutput::file(*o.csv));
  if (o.xyz) xyz.emplace(StreamOutput::file(*o.xyz));
  FastStepper stepper(o.reference ? 1 : o.threads);
  std::optional<std::string> outputError;
  auto firstError = [&](const std::optional<std::string>& e) {
    if (e && !outputError) outputError = e;
  };

  const int steps = *o.steps;
  // Progress is for a person watching, never for a log.
  const bool showProgress = ::isatty(STDERR_FILENO) == 1;
  const auto start = Clock::now();
  auto lastReport = start;
  bool reported = false;
  int done = 0, lastRecord = -1;
  auto record_ = [&] {
    if (csv && csv->write(csvRecord(set))) lastRecord = done;
    if (xyz && xyz->write(formatXyzFrame(set, set.Time, o.controls.forces.taoscope))) lastRecord = done;
    if (csv) firstError(csv->error());
    if (xyz) firstError(xyz->error());
  };
  if (csv && !csv->write("step,i,x,y,z,ux,uy,uz\n")) firstError(csv->error());
  record_();
  auto afterStep = [&](int) {
    ++done;
    if (done % o.every == 0 || done == steps) record_();
    if (o.checkpoint && done % o.checkpoint == 0 && done != steps) {
      try {
        saveSet(set, record, *o.out);
      } catch (const IoError& e) {
        firstError(*o.out + ": " + e.what());
        std::fprintf(stderr, "zentrova-sim: %s: %s\n", o.out->c_str(), e.what());
      }
    }
    const auto now = Clock::now();
    if (showProgress && now - lastReport >= std::chrono::seconds(1)) {
      std::fprintf(stderr, "\rstep %d of %d", done, steps);
      std::fflush(stderr);
      lastReport = now;
      reported = true;
    }
  };
  catchInterruptions();
  int status = 0;
  std::optional<std::string> fault;
  try {
    runStepsUntil(
        set, o.controls, steps, o.reference ? nullptr : &stepper,
        [&] { return interruption() != 0 || outputError.has_value(); }, afterStep);
  } catch (const FpError& e) {
    fault = e.what();
    if (reported) std::fputc('\n', stderr);
    reported = false;
    reportFault(*o.in, e);
    status = kExitFault;
  }
  if (reported) std::fputc('\n', stderr);
  // The committed arrays hold the last completed step, fault or not; the
  // tables end with it.
  if ((csv || xyz) && lastRecord != done) record_();
  if (csv && !csv->finish()) firstError(csv->error());
  if (xyz && !xyz->finish()) firstError(xyz->error());
  if (o.out) {
    try {
      saveSet(set, record, *o.out);
    } catch (const IoError& e) {
      firstError(*o.out + ": " + e.what());
      std::fprintf(stderr, "zentrova-sim: %s: %s\n", o.out->c_str(), e.what());
    }
  }
  const int sig = interruption();
  if (o.summary) {
    RunReport report;
    report.input = *o.in, report.set = &set, report.controls = o.controls, report.steps = done;
    report.fault = fault;
    report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    report.provenance = {std::vector<std::string>(argv, argv + argc), inputSha, started, utcNow(), hostName(),
                         stepper.threads(), o.startStep};
    if (o.reference) report.provenance.threads = 1;
    if (sig) report.interrupted = signalName(sig);
    report.outputError = outputError;
    report.nonfinite = nonfinite;
    writeStandardOutput(runSummaryJson(report));
  }
  if (outputError) return kExitInput;
  if (sig) return 128 + sig;
  return status;
}

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
  const int steps = o.steps.value_or(20);
  StepControls controls;

  // The baseline is the literal step with the C library's exp and log. The
  // steps take turns, one of each literal kind to ten fast ones, so that a
  // change in the machine's load falls on all of them alike. `fast` keeps
  // level with `ref` for the comparison; `more` takes the other fast steps.
  ParticleSet base = initial, ref = initial, fast = initial, more = initial;
  FastStepper stepper(o.threads);
  const int fastSteps = steps * 10;
  double baseSeconds = 0, refSeconds = 0, fastSeconds = 0;
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
  }
  const bool identical = sameState(ref, fast);

  const double b = baseSeconds > 0 ? steps / baseSeconds : 0;
  const double r = refSeconds > 0 ? steps / refSeconds : 0;
  const double f = fastSeconds > 0 ? fastSteps / fastSeconds : 0;
  std::printf("baseline: %.3f steps/s\n", b);
  std::printf("reference: %.3f steps/s\n", r);
  std::printf("fast: %.3f steps/s (%d threads)\n", f, stepper.threads());
  std::printf("speedup: %.2f\n", b > 0 ? f / b : 0.0);
  std::printf("speedup over reference: %.2f\n", r > 0 ? f / r : 0.0);
  std::printf("identical: %s\n", identical ? "yes" : "no");
  return identical ? 0 : kExitFault;
}

}  // namespace

int main(int argc, char** argv) {
  ignoreFileSizeLimitSignal();
  Options o;
  try {
    o = parseOptions(argc, argv);
  } catch (const InfoRequest& r) {
    std::fputs(r.text, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : kExitInput;
  } catch (const UsageError& e) {
    if (!e.what.empty()) std::fprintf(stderr, "zentrova-sim: %s\n", e.what.c_str());
    std::fputs(e.usage, stderr);
    return kExitInput;
  } catch (const AppError& e) {
    std::fprintf(stderr, "zentrova-sim: %s\n%s", e.what(), o.command == "render" ? kRenderUsage : kUsage);
    return kExitInput;
  }
  if (o.command == "render") return simRender(o, argv);
  try {
    int status = 0;
    if (o.command == "forces") status = cmdForces(o);
    else if (o.command == "run") status = cmdRun(o, argc, argv);
    else if (o.command == "observe")
      status = cmdObserve({*o.in, *o.steps, o.every, o.threads, o.startStep, o.controls, o.settings});
    else if (o.command == "convert") status = cmdConvert({*o.in, *o.out, o.startStep, o.controls.forces.taoscope, o.settings});
    else status = cmdBench(o);
    // What is still buffered, and every earlier write, checked once more.
    finishStandardOutput();
    return status;
  } catch (const FpError& e) {
    if (o.in)
      reportFault(*o.in, e);
    else
      std::fprintf(stderr, "zentrova-sim: %s\n", e.what());
    return kExitFault;
  } catch (const AppError& e) {
    std::fprintf(stderr, "zentrova-sim: %s\n", e.what());
    return kExitInput;
  }
}
