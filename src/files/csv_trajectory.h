#pragma once
// The CSV trajectory: a header line, then one row a present particle and
// record, "step,i,x,y,z,ux,uy,uz", numbers by machineReal whatever the locale.
#include <cstdint>
#include <string>

#include "state/particle_set.h"

namespace zentrova {

inline constexpr const char* kCsvTrajectoryHeader = "step,i,x,y,z,ux,uy,uz\n";

// The rows of one record: every present particle of `set` at step `step`.
std::string formatCsvRecord(const ParticleSet& set, std::int64_t step);

}  // namespace zentrova
