// zentrova-sim observe: the observables of a run, as CSV.
#include <cerrno>
#include <cstdio>

#include "analysis/observables.h"
#include "files/io_error.h"
#include "files/set_file.h"
#include "sim_commands.h"
#include "state/particle_record.h"

namespace zentrova {

namespace {

void writeRow(const ParticleSet& set) {
  const std::string row = observablesCsvRow(observe(set)) + "\n";
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
  try {
    readSetFile(in, record);
  } catch (const IoError& e) {
    throw IoError(in + ": " + e.what());
  }
  set.Count = kMaxParticles;
  loadRecordIntoSet(record, set);
  applySettings(settings, set);

  std::printf("%s\n", observablesCsvHeader());
  writeRow(set);
  int status = 0;
  try {
    runStepsHeadless(set, controls, steps, false, [&](int time) {
      if (time % every == 0) writeRow(set);
    });
  } catch (const FpError& e) {
    finishOutput();
    std::fprintf(stderr, "zentrova-sim: %s: %s\n", in.c_str(), e.what());
    status = 1;
  }
  finishOutput();
  return status;
}

}  // namespace zentrova
