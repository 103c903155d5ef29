// zentrova-sim run: steps a set, with its trajectories, checkpoints and
// summary, ends them all as a normal end does after a fault, a signal or
// --max-time, and continues from its checkpoint with --resume.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "analysis/energy_record.h"
#include "analysis/work_meter.h"
#include "files/file_formats.h"
#include "files/set_file.h"
#include "sha256.h"
#include "sim_checkpoint.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_messages.h"
#include "sim_output.h"
#include "sim_signals.h"
#include "state/extended.h"
#include "state/named_parameters.h"
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

// A trajectory of the run, and how much of it a continuation keeps: the
// records of the first step and of the multiples of --every, not the record
// of a last step off that grid, which the continuation goes past.
struct Trajectory {
  const FileFormat* format;
  std::string path;
  std::optional<StreamOutput> stream;
  std::uint64_t kept = 0;
};

bool sameBits(Real a, Real b) {
  std::uint8_t x[kExtendedBytes], y[kExtendedBytes];
  encodeExtended(a, x);
  encodeExtended(b, y);
  return std::memcmp(x, y, sizeof x) == 0;
}

std::string onOff(bool on) { return on ? "on" : "off"; }

// What differs between the run a checkpoint belongs to and this command, or
// empty when it is the same run.
std::string mismatch(const Checkpoint& c, const Options& o, const std::string& inputSha, const ParticleSet& set) {
  if (c.inputSha256 != inputSha)
    return "the input differs from the checkpoint's run (SHA-256 " + inputSha + ", not " + c.inputSha256 + ")";
  const StepControls& a = c.controls;
  const StepControls& b = o.controls;
  const std::pair<const char*, std::pair<bool, bool>> switches[] = {
      {"--taoscope", {a.forces.taoscope, b.forces.taoscope}}, {"--cool", {a.cool, b.cool}},
      {"--blockade", {a.blockade, b.blockade}},               {"--pe-out", {a.forces.peOut, b.forces.peOut}},
      {"--pes1-out", {a.forces.pes1Out, b.forces.pes1Out}},   {"--pes2-out", {a.forces.pes2Out, b.forces.pes2Out}}};
  for (const auto& [name, v] : switches)
    if (v.first != v.second)
      return std::string(name) + " differs: " + onOff(v.first) + " in the checkpoint's run, " + onOff(v.second) +
             " in this command";
  const auto integrator = [](bool verlet) { return verlet ? "verlet" : "euler"; };
  if (a.verlet != b.verlet)
    return std::string("--integrator differs: ") + integrator(a.verlet) + " in the checkpoint's run, " +
           integrator(b.verlet) + " in this command";
  ParticleSet saved;
  saved.Count = kMaxParticles;
  loadRecordIntoSet(c.record, saved);
  for (const NamedParameter& p : namedParameters())
    if (!sameBits(saved.*p.field, set.*p.field))
      return std::string(p.name) + " differs: " + machineReal(saved.*p.field) + " in the checkpoint's run, " +
             machineReal(set.*p.field) + " in this command";
  const std::pair<const char*, std::pair<std::int64_t, std::int64_t>> counts[] = {
      {"-n", {c.steps, *o.steps}}, {"--every", {c.every, o.every}}, {"--start-step", {c.startStep, o.startStep}}};
  for (const auto& [name, v] : counts)
    if (v.first != v.second)
      return std::string(name) + " differs: " + std::to_string(v.first) + " in the checkpoint's run, " +
             std::to_string(v.second) + " in this command";
  for (const FileFormat& f : fileFormats()) {
    if (!f.frame) continue;
    std::string was, is;
    for (const CheckpointTrajectory& t : c.trajectories)
      if (t.format == f.name) was = t.path;
    for (const TrajectoryOption& t : o.trajectories)
      if (t.format == &f) is = t.path;
    if (was != is)
      return std::string("--") + f.name + " differs: " + (was.empty() ? "none" : "'" + was + "'") +
             " in the checkpoint's run, " + (is.empty() ? "none" : "'" + is + "'") + " in this command";
  }
  if (c.step < c.startStep || c.step > c.startStep + c.steps) return "its step is outside the run";
  return {};
}

}  // namespace

int cmdRun(const Options& o, int argc, char** argv, Clock::time_point began) {
  const std::string started = utcNow();
  ParticleRecord record;
  ParticleSet set;
  std::vector<std::string> given = settingNames(o.settings);
  if (o.dt) given.push_back("dt");
  loadInputSet(*o.in, record, set, given);
  std::string inputSha;
  try {
    inputSha = sha256OfFile(*o.in);
  } catch (const IoError& e) {
    failFor(*o.in, e);
  }
  if (o.dt) set.Dt = *o.dt;
  applySettings(o.settings, set);
  const std::string ckptPath = o.out ? *o.out + ".ckpt" : "";
  std::vector<NamedFile> files{{"the input", *o.in}};
  if (o.out) files.push_back({"-o", *o.out});
  if (o.checkpoint) files.push_back({"the checkpoint", ckptPath}), files.push_back({"the checkpoint", ckptPath + ".prev"});
  for (const TrajectoryOption& t : o.trajectories) files.push_back({std::string("--") + t.format->name, t.path});
  refuseSameFile(files);
  if (o.out) checkOutput(*o.out);
  if (o.checkpoint) checkOutput(ckptPath), checkOutput(ckptPath + ".prev");

  // A checkpoint to go on from: read and matched before anything is touched.
  std::optional<Checkpoint> resumed;
  std::string previousCheckpoint;
  if (o.resume && ::access(ckptPath.c_str(), F_OK) == 0) {
    try {
      resumed = readCheckpoint(ckptPath);
    } catch (const AppError& e) {
      failFor(ckptPath, e);
    }
    if (const std::string why = mismatch(*resumed, o, inputSha, set); !why.empty())
      throw AppError(ckptPath + ": not this command's run: " + why);
    if (resumed->finished) {
      // Submitted again after it ended: nothing to do but say so again.
      if (o.summary && !resumed->summary.empty()) writeStandardOutput(resumed->summary + "\n");
      return *resumed->finished;
    }
    for (const CheckpointTrajectory& t : resumed->trajectories) StreamOutput::checkContinuable(t.path, t.length);
    previousCheckpoint = formatCheckpoint(*resumed);
  }
  const std::vector<int> nonfinite = resumed ? std::vector<int>{} : reportNonFinite(*o.in, set);

  const std::int64_t end = o.startStep + *o.steps;
  std::int64_t from = o.startStep;
  if (resumed) {
    record = resumed->record;
    loadRecordIntoSet(record, set);
    from = resumed->step;
  }
  set.Time = from;

  std::vector<Trajectory> trajectories;
  std::optional<std::string> outputError;
  auto firstError = [&](const std::optional<std::string>& e) {
    if (e && !outputError) outputError = e;
  };
  const bool taoscope = o.controls.forces.taoscope;
  std::optional<std::int64_t> lastRecord;
  auto writeRecord = [&](bool kept) {
    for (Trajectory& t : trajectories) {
      if (t.stream->write(t.format->frame(set, set.Time, taoscope)) && kept) t.kept = t.stream->length();
      firstError(t.stream->error());
    }
    lastRecord = set.Time;
  };
  for (const TrajectoryOption& option : o.trajectories) {
    Trajectory& t = trajectories.emplace_back(Trajectory{option.format, option.path, std::nullopt, 0});
    if (resumed) {
      for (const CheckpointTrajectory& c : resumed->trajectories)
        if (c.format == t.format->name) t.kept = c.length;
      t.stream.emplace(StreamOutput::continued(t.path, t.kept));
    } else {
      t.stream.emplace(StreamOutput::file(t.path));
      if (t.stream->write(t.format->trajectoryHeader)) t.kept = t.stream->length();
      firstError(t.stream->error());
    }
  }
  if (!resumed)
    writeRecord(true);
  else if (from % o.every == 0 || from == o.startStep)
    lastRecord = from;  // its record is in the files already

  FastStepper stepper(o.reference ? 1 : o.threads);
  auto saveOut = [&] {
    try {
      saveSet(set, record, *o.out);
    } catch (const IoError& e) {
      const std::string message = e.error ? simIoMessage(e.error) : e.what();
      firstError(*o.out + ": " + message);
      simMessage(*o.out, message);
    }
  };
  auto saveCheckpoint = [&](std::optional<int> finished, const std::string& summary) {
    for (Trajectory& t : trajectories)
      if (!t.stream->sync()) firstError(t.stream->error());
    if (outputError) return;
    Checkpoint c;
    c.step = set.Time, c.startStep = o.startStep, c.steps = *o.steps, c.every = o.every;
    c.inputSha256 = inputSha;
    c.controls = o.controls;
    snapshotSetIntoRecord(set, record);
    c.record = record;
    for (const Trajectory& t : trajectories)
      c.trajectories.push_back({t.format->name, t.path, finished ? t.stream->length() : t.kept});
    c.finished = finished;
    c.summary = summary;
    const std::string text = formatCheckpoint(c);
    try {
      writeCheckpoint(ckptPath, text, previousCheckpoint);
      previousCheckpoint = text;
    } catch (const IoError& e) {
      firstError(std::string(e.what()));
      simMessage(e.what());
    }
  };

  // Progress is for a person watching, never for a log.
  const bool showProgress = ::isatty(STDERR_FILENO) == 1;
  const auto start = Clock::now();
  auto lastReport = start;
  bool reported = false;
  // The summary's energy record, sampled at every step, and the work of the
  // unequal pulls.
  WorkMeter work;
  EnergyRecord energy;
  auto measure = [&] { energy.add(observeEnergy(set, o.controls)); };
  if (o.summary) work.start(set, o.controls), measure();
  auto afterStep = [&](std::int64_t n) {
    if (o.summary) work.afterStep(set, o.controls), measure();
    if (n % o.every == 0 || n == end) writeRecord(n % o.every == 0);
    // Only while every output is whole does a checkpoint describe the files.
    if (o.checkpoint && n % o.checkpoint == 0 && n != end && !outputError) {
      saveOut();
      if (!outputError) saveCheckpoint(std::nullopt, "");
    }
    const auto now = Clock::now();
    if (showProgress && now - lastReport >= std::chrono::seconds(1)) {
      std::fprintf(stderr, "\rstep %lld of %lld", static_cast<long long>(n), static_cast<long long>(end));
      std::fflush(stderr);
      lastReport = now;
      reported = true;
    }
  };
  bool timedOut = false;
  auto stop = [&] {
    if (interruption() != 0 || outputError) return true;
    if (o.maxSeconds && std::chrono::duration<double>(Clock::now() - began).count() >= *o.maxSeconds)
      timedOut = true;
    return timedOut;
  };
  int status = 0;
  std::optional<std::string> fault;
  std::int64_t done = 0;
  try {
    done = runStepsUntil(set, o.controls, end - from, o.reference ? nullptr : &stepper, stop, afterStep);
  } catch (const FpError& e) {
    done = set.Time - from;
    fault = e.what();
    if (reported) std::fputc('\n', stderr);
    reported = false;
    reportFault(*o.in, e);
    status = kExitFault;
  }
  if (reported) std::fputc('\n', stderr);
  // The committed arrays hold the last completed step, fault or not; the
  // trajectories end with it.
  if (!trajectories.empty() && lastRecord != set.Time) writeRecord(set.Time % o.every == 0);
  for (Trajectory& t : trajectories)
    if (!t.stream->finish()) firstError(t.stream->error());
  if (o.out) saveOut();
  const int sig = interruption();
  std::optional<int> finished;
  if (fault) finished = kExitFault;
  else if (set.Time == end) finished = 0;

  auto summary = [&] {
    RunReport report;
    report.input = *o.in, report.set = &set, report.controls = o.controls, report.steps = done;
    report.fault = fault;
    report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    report.provenance = {std::vector<std::string>(argv, argv + argc), inputSha, started, utcNow(), hostName(),
                         stepper.threadsUsed(), from};
    if (o.reference) report.provenance.threads = 1;
    if (sig)
      report.interrupted = signalName(sig);
    else if (timedOut)
      report.interrupted = "max-time";
    report.outputError = outputError;
    report.nonfinite = nonfinite;
    report.energy = &energy;
    report.work = work.work();
    return runSummaryJson(report);
  };
  std::string json = o.summary ? summary() : "";
  if (o.checkpoint && !outputError) {
    saveCheckpoint(finished, json.empty() ? "" : json.substr(0, json.size() - 1));
    if (outputError && o.summary) json = summary();
  }
  if (o.summary) writeStandardOutput(json);
  if (outputError) return kExitInput;
  if (sig) return 128 + sig;
  if (timedOut) return kExitResumeMe;
  return status;
}

}  // namespace zentrova
