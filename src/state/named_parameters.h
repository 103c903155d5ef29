#pragma once
// dt and the force parameters by name, in the order of the file: the names
// of --set, the run summary and the comment line of a trajectory frame.
#include <array>

#include "state/particle_set.h"

namespace zentrova {

struct NamedParameter {
  const char* name;
  Real ParticleSet::*field;
};

inline const std::array<NamedParameter, 11>& namedParameters() {
  static const std::array<NamedParameter, 11> table{{{"dt", &ParticleSet::Dt},
                                                     {"A1", &ParticleSet::A1},
                                                     {"B1", &ParticleSet::B1},
                                                     {"A2", &ParticleSet::A2},
                                                     {"B2", &ParticleSet::B2},
                                                     {"C2", &ParticleSet::C2},
                                                     {"D2", &ParticleSet::D2},
                                                     {"A3", &ParticleSet::A3},
                                                     {"B3", &ParticleSet::B3},
                                                     {"C3", &ParticleSet::C3},
                                                     {"D3", &ParticleSet::D3}}};
  return table;
}

}  // namespace zentrova
