#pragma once
// The force parameters and dt by name, for --set and the run summary.
#include <array>
#include <string>
#include <vector>

#include "state/named_parameters.h"
#include "state/particle_set.h"

namespace zentrova {

struct Setting {
  Real ParticleSet::*field;
  Real value;
};

// "NAME=VALUE", the value read with a full stop as decimal separator and
// rounded to the nearest extended real. Throws AppError naming the bad part.
Setting parseSetting(const std::string& text);

// The names the settings give, as the readers of trajectory frames take them.
std::vector<std::string> settingNames(const std::vector<Setting>& settings);

// dt and every parameter: what a command that needs none of them (a picture,
// distances) takes as given when it reads a trajectory frame.
std::vector<std::string> allParameterNames();

// Applied in the order given, so that a later --set of the same name wins.
void applySettings(const std::vector<Setting>& settings, ParticleSet& set);

}  // namespace zentrova
