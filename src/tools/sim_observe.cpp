// zentrova-sim observe: the observables of a run, as CSV.
#include <cerrno>
#include <cstdio>

#include "analysis/observables.h"
#include "files/io_error.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "state/particle_record.h"

namespace zentrova {

namespace {

void writeRow(const ParticleSet& set, const StepControls& controls) {
  const std::string row = observablesCsvRow(observe(set, controls)) + "\n";
  std::fputs(row.c_str(), stdout);
}

// Rows already written stay written; a full disk or a closed file shows here.
void finishOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) throwIo(errno ? errno : EIO);
}

}  // namespace

int cmdObserve(const std::string& in, int steps, int every, const StepControls& controls,
               const std::vector<Setting>& settings) {
  ParticleRecord record{};
  ParticleSet set;
  loadInputSet(in, record, set);
  applySettings(settings, set);

  std::printf("%s\n", observablesCsvHeader());
  writeRow(set, controls);
  int status = 0;
  try {
    runStepsHeadless(set, controls, steps, false, [&](int time) {
      if (time % every == 0) writeRow(set, controls);
    });
  } catch (const FpError& e) {
    finishOutput();
    reportFault(in, e);
    status = 1;
  }
  finishOutput();
  return status;
}

}  // namespace zentrova
