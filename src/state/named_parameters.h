#pragma once
// dt and the ten force parameters, the one list of them: their names (the
// names of the editor's fields, of --set, of the run summary, of Python's
// params and of the comment line of a trajectory frame), their order (that
// of the file), their group and their standard values (those of the easy
// square and of a new bench set).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "state/particle_set.h"

namespace zentrova {

enum class ParameterKind {
  TimeStep,  // dt
  Strength,  // A1, A2, A3: scale a group's law
  Range,     // B1: the range of the group PE law
  Shell,     // B2 ... D3: the shell distances of PES1 and PES2
};

struct NamedParameter {
  const char* name;
  Real ParticleSet::*field;
  ParameterKind kind;
  Group group;      // PE for dt, which belongs to none
  Real standard;    // the easy square's value; dt has none and keeps 0
};

inline constexpr std::size_t kParameterCount = 11;

inline const std::array<NamedParameter, kParameterCount>& namedParameters() {
  using K = ParameterKind;
  using P = ParticleSet;
  static const std::array<NamedParameter, kParameterCount> table{{
      {"dt", &P::Dt, K::TimeStep, Group::PE, 0},
      {"A1", &P::A1, K::Strength, Group::PE, 1},
      {"B1", &P::B1, K::Range, Group::PE, 2.718L},
      {"A2", &P::A2, K::Strength, Group::PES1, 1},
      {"B2", &P::B2, K::Shell, Group::PES1, 0.3L},
      {"C2", &P::C2, K::Shell, Group::PES1, 0.671L},
      {"D2", &P::D2, K::Shell, Group::PES1, 1.2L},
      {"A3", &P::A3, K::Strength, Group::PES2, 1},
      {"B3", &P::B3, K::Shell, Group::PES2, 0.3L},
      {"C3", &P::C3, K::Shell, Group::PES2, 0.671L},
      {"D3", &P::D3, K::Shell, Group::PES2, 1.2L},
  }};
  return table;
}

// The parameter of that name, or null.
inline const NamedParameter* parameterNamed(std::string_view name) {
  for (const NamedParameter& p : namedParameters())
    if (name == p.name) return &p;
  return nullptr;
}

// The names in file order, separated by ", ": for messages and usage texts.
inline std::string parameterNameList() {
  std::string names;
  for (const NamedParameter& p : namedParameters()) names += (names.empty() ? "" : ", ") + std::string(p.name);
  return names;
}

// Gives the ten force parameters their standard values; dt stays.
inline void applyStandardParameters(ParticleSet& set) {
  for (const NamedParameter& p : namedParameters())
    if (p.kind != ParameterKind::TimeStep) set.*p.field = p.standard;
}

}  // namespace zentrova
