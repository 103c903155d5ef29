#pragma once
// The simulator's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dynamics/step.h"
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

struct Options {
  std::string command;
  std::optional<std::string> in, out, csv, xyz;
  std::optional<int> steps;
  int every = 1;
  int threads = 1;  // --threads, else ZENTROVA_THREADS, else the affinity mask
  int checkpoint = 0;
  int warm = 0;  // bench: steps taken before the timing
  std::int32_t startStep = 0;
  std::optional<Real> dt;
  StepControls controls;
  bool reference = false;
  std::vector<Setting> settings;
  bool summary = false;
  // render
  int width = 640, height = 480;
  bool numbers = false;
  int trailSteps = 0;
};

// Throws UsageError or InfoRequest; a bad number or --set throws AppError.
Options parseOptions(int argc, char** argv);

}  // namespace zentrova
