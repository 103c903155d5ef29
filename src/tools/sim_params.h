#pragma once
// The force parameters and dt by name, for --set and the run summary.
#include <array>
#include <string>
#include <vector>

#include "state/particle_set.h"

namespace zentrova {

struct NamedParameter {
  const char* name;
  Real ParticleSet::*field;
};

// dt, A1, B1, A2, B2, C2, D2, A3, B3, C3, D3: the order of the file.
const std::array<NamedParameter, 11>& namedParameters();

struct Setting {
  Real ParticleSet::*field;
  Real value;
};

// "NAME=VALUE", the value read with a full stop as decimal separator and
// rounded to the nearest extended real. Throws AppError naming the bad part.
Setting parseSetting(const std::string& text);

// Applied in the order given, so that a later --set of the same name wins.
void applySettings(const std::vector<Setting>& settings, ParticleSet& set);

}  // namespace zentrova
