#pragma once
// The checkpoint of a run, OUT.ckpt: everything a continuation needs, as
// text, one "key value" a line, ending with the SHA-256 of the lines before
// it. The README gives the format.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dynamics/step.h"
#include "state/particle_record.h"

namespace zentrova {

struct CheckpointTrajectory {
  std::string format;       // "csv", "xyz"
  std::string path;         // as the command line gives it
  std::uint64_t length = 0;  // its bytes at the checkpoint's step
};

struct Checkpoint {
  std::int64_t step = 0;       // the state's absolute step
  std::int64_t startStep = 0;  // --start-step of the run
  std::int64_t steps = 0;      // -n
  std::int64_t every = 1;      // --every
  std::string inputSha256;
  StepControls controls;
  ParticleRecord record;  // the set at `step`, its parameters those of the run
  std::vector<CheckpointTrajectory> trajectories;
  // The exit status of a run that has ended (0, or 1 after a fault), with
  // its summary line when it printed one; absent while it may go on.
  std::optional<int> finished;
  std::string summary;
};

std::string formatCheckpoint(const Checkpoint& c);
// Throws AppError saying what is wrong with the text.
Checkpoint parseCheckpoint(const std::string& text);

// OUT.ckpt read; throws IoError or AppError (the caller names the file).
Checkpoint readCheckpoint(const std::string& path);
// Writes OUT.ckpt by a safe replacement, first keeping the one it replaces
// (`previous`, its text, if any) as OUT.ckpt.prev, so that at any instant a
// whole checkpoint exists. Throws IoError naming the file.
void writeCheckpoint(const std::string& path, const std::string& text, const std::string& previous);

}  // namespace zentrova
