#pragma once
// What every simulator command does with its files and its faults.
#include <string>
#include <vector>

#include "state/errors.h"
#include "state/particle_record.h"
#include "state/particle_set.h"

namespace zentrova {

// A failure tied to a file: the message names it.
[[noreturn]] void failFor(const std::string& path, const AppError& e);

// Reads a set file into record and set (all 60 slots), naming the file on
// failure. A frame of a trajectory must hold dt and every parameter but
// those named in `given`, which the caller sets afterwards.
void loadInputSet(const std::string& path, ParticleRecord& record, ParticleSet& set,
                  const std::vector<std::string>& given = {});

// An output that cannot be written fails at once, not after the steps.
void checkOutput(const std::string& path);

// "zentrova-sim: IN: message" on standard error.
void reportFault(const std::string& in, const FpError& e);

}  // namespace zentrova
