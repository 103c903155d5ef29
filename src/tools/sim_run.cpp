// zentrova-sim run: steps a set, with its tables, trajectory, checkpoints and
// summary, and ends them all as a normal end does after a fault or a signal.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "analysis/energy_record.h"
#include "analysis/work_meter.h"
#include "files/set_file.h"
#include "files/xyz.h"
#include "sha256.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_output.h"
#include "sim_signals.h"
#include "state/number_text.h"
#include "state/particle_record.h"

namespace zentrova {

namespace {

constexpr int kExitFault = 1;
constexpr int kExitInput = 2;
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
    for (Real v : {s.X[a], s.Y[a], s.Z[a], s.Ux[a], s.Uy[a], s.Uz[a]}) t += "," + machineReal(v);
    t += "\n";
  }
  return t;
}

}  // namespace

int cmdRun(const Options& o, int argc, char** argv) {
  // From here on a signal stops the run before its next step, the first one too.
  catchInterruptions();
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
  auto writeRecord = [&] {
    if (csv && csv->write(csvRecord(set))) lastRecord = done;
    if (xyz && xyz->write(formatXyzFrame(set, set.Time, o.controls.forces.taoscope))) lastRecord = done;
    if (csv) firstError(csv->error());
    if (xyz) firstError(xyz->error());
  };
  if (csv && !csv->write("step,i,x,y,z,ux,uy,uz\n")) firstError(csv->error());
  writeRecord();
  // The summary's energy record, sampled at every step, and the work of the
  // unequal pulls.
  WorkMeter work;
  EnergyRecord energy;
  auto measure = [&] {
    Observables m = observeEnergy(set, o.controls);
    energy.add(m);
  };
  if (o.summary) work.start(set, o.controls), measure();
  auto afterStep = [&](int) {
    ++done;
    if (o.summary) work.afterStep(set, o.controls), measure();
    if (done % o.every == 0 || done == steps) writeRecord();
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
  if ((csv || xyz) && lastRecord != done) writeRecord();
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
    report.energy = &energy;
    report.work = work.work();
    writeStandardOutput(runSummaryJson(report));
  }
  if (outputError) return kExitInput;
  if (sig) return 128 + sig;
  return status;
}

}  // namespace zentrova
