#pragma once
// Simulator commands kept in files of their own.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/energy_record.h"
#include "dynamics/step.h"
#include "sim_options.h"
#include "sim_params.h"

namespace zentrova {

// The exit status of a run stopped by --max-time: stopped, to be resumed
// (EX_TEMPFAIL of sysexits.h).
inline constexpr int kExitResumeMe = 75;

// Returns the exit status: 0; 1 after a fault; 2 when an output failed or a
// checkpoint does not match; 75 when --max-time stopped it; 128 + the
// signal that interrupted it. argv is recorded in the summary; --max-time
// counts from `began`.
int cmdRun(const Options& o, int argc, char** argv, std::chrono::steady_clock::time_point began);

struct ObserveOptions {
  std::string in;
  std::int64_t steps = 0, every = 1;
  int threads = 1;
  std::int64_t startStep = 0;
  StepControls controls;
  std::vector<Setting> settings;
};
// CSV of the observables on standard output: the first step, every step
// that is a multiple of `every` and the last completed one, each row written whole and flushed. A
// fault ends the table after the last completed step. Returns the exit
// status: 0; 1 after a fault; 2 when standard output fails; 128 + the signal
// that interrupted it.
int cmdObserve(const ObserveOptions& o);

// The histogram of pair distances and g(r) of a .lis1 set or of every frame
// of an extended XYZ file, as CSV on standard output. Returns 0, or 2 when
// standard output fails; throws AppError for what it cannot read.
int cmdRdf(const Options& o);

struct ConvertOptions {
  std::string in, out;
  std::int64_t startStep = 0;  // the step of a frame written
  bool taoscope = false;       // the mode of a frame written
  std::vector<Setting> settings;
};
// A set from .lis1 or the last frame of an extended XYZ file into .lis1 or
// one frame of extended XYZ, by the names' extensions. Returns 0; throws
// AppError for anything it cannot read or write.
int cmdConvert(const ConvertOptions& o);

// Where a run came from, for its summary.
struct Provenance {
  std::vector<std::string> command;  // the argument list
  std::string inputSha256;
  std::string started, finished;     // UTC, ISO 8601
  std::string host;
  int threads = 1;
  std::int64_t startStep = 0;  // the step this run began at
};

// One JSON line describing a finished run.
struct RunReport {
  std::string input;
  const ParticleSet* set = nullptr;  // the final state: the last completed step
  StepControls controls;
  std::int64_t steps = 0;            // completed
  std::optional<std::string> fault;  // its message, if a step faulted
  double seconds = 0;
  Provenance provenance;
  std::optional<std::string> interrupted;   // the signal's name, or "max-time"
  std::optional<std::string> outputError;   // the first output that could not be written
  std::vector<int> nonfinite;               // particles of the input with a non-finite value
  const EnergyRecord* energy = nullptr;     // samples of the run, when measured
  int energyEvery = 1;                      // steps between those samples
  Real work = 0;                            // WorkMeter's sum over the run
};
std::string runSummaryJson(const RunReport& report);

// The present moment as UTC in ISO 8601, "2024-06-11T08:30:00Z".
std::string utcNow();

}  // namespace zentrova
