#pragma once
#include <string>

namespace zentrova {

// The mass ASE takes for a chemical symbol ("C" 12.011), so that momenta
// written by ASE divide back into its velocities; false for other names.
bool speciesMass(const std::string& symbol, double& mass);

}  // namespace zentrova
