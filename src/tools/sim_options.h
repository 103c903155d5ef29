#pragma once
// The simulator's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/rdf.h"
#include "dynamics/step.h"
#include "files/file_formats.h"
#include "sim_params.h"

namespace zentrova {

extern const char* const kUsage;
extern const char* const kRenderUsage;

// A command line that cannot be run: exit 2 with the message and the usage.
struct UsageError {
  std::string what;
  const char* usage = kUsage;
};

// --help and --version answer at once, whatever else the line holds.
struct InfoRequest {
  const char* text;
};

// A trajectory the run writes: --csv, --xyz, ... (the formats with frames).
struct TrajectoryOption {
  const FileFormat* format;
  std::string path;
};

struct Options {
  std::string command;
  std::optional<std::string> in, out;
  std::vector<TrajectoryOption> trajectories;  // in the order of fileFormats()
  std::optional<std::int64_t> steps;
  std::int64_t every = 1;
  int threads = 1;  // --threads, else ZENTROVA_THREADS, else the affinity mask
  std::int64_t checkpoint = 0;
  std::int64_t warm = 0;  // bench: steps taken before the timing
  bool resume = false;
  std::optional<double> maxSeconds;  // --max-time
  std::int64_t startStep = 0;
  std::optional<Real> dt;
  StepControls controls;
  bool reference = false;
  std::vector<Setting> settings;
  bool summary = false;
  // render
  int width = 640, height = 480;
  bool numbers = false;
  int trailSteps = 0;
  // rdf
  int bins = 100;
  std::optional<Real> range;      // else the first frame's largest pair distance
  std::vector<GroupPair> pairs;   // else all six
};

// "3600", "90m", "2h", "1d" (a number of seconds, minutes, hours, days)
// as seconds; nullopt for anything else, 0 and less among them.
std::optional<double> parseDuration(const std::string& text);

// Throws UsageError or InfoRequest; a bad number or --set throws AppError.
Options parseOptions(int argc, char** argv);

}  // namespace zentrova
