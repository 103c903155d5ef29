#pragma once
// Simulator commands kept in files of their own.
#include <optional>
#include <string>
#include <vector>

#include "dynamics/step.h"
#include "sim_params.h"

namespace zentrova {

// CSV of the observables on standard output: step 0, then every `every`
// steps. A fault ends the table after the last completed step; returns the
// exit status (0, or 1 after a fault, whose message goes to standard error).
int cmdObserve(const std::string& in, int steps, int every, const StepControls& controls,
               const std::vector<Setting>& settings);

// One JSON line on standard output describing a finished run.
struct RunReport {
  std::string input;
  const ParticleSet* set;  // the final state: the last completed step
  StepControls controls;
  int steps;                         // completed
  std::optional<std::string> fault;  // its message, if a step faulted
  double seconds;
};
void printRunSummary(const RunReport& report);

}  // namespace zentrova
