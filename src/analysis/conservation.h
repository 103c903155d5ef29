#pragma once
#include <string>
#include <vector>

#include "dynamics/step.h"
#include "state/particle_set.h"

namespace zentrova {

// Why a quantity may change under a step's controls, one bit each. Only what
// acts on the present particles counts: a switch of an absent group, Cool
// with nothing moving, or Blockade holding no present particle changes
// nothing.
enum ConservationReason : unsigned {
  kCoolOn = 1u << 0,          // energy and momentum: the damping
  kGroupsPull = 1u << 1,      // energy and momentum: a pull across groups, unlike its reaction
  kPeOff = 1u << 2,           // energy: PE's own pairs change their potential with no force
  kPes1Off = 1u << 3,         // energy: the same for PES1
  kPes2Off = 1u << 4,         // energy: the same for PES2
  kHeldPull = 1u << 5,        // momentum: a held particle pulls a moving one and takes no reaction
};
constexpr unsigned kEnergyReasons = kCoolOn | kGroupsPull | kPeOff | kPes1Off | kPes2Off;
constexpr unsigned kMomentumReasons = kCoolOn | kGroupsPull | kHeldPull;

// The reasons that apply to the present particles of the set. A held
// particle is a fixed source of its group's reciprocal law: energy is still
// conserved with it, momentum and angular momentum are not.
unsigned conservationReasons(const ParticleSet& set, const StepControls& controls);

// The sentence for one reason ("Cool is on"), or for the lowest bit set.
const char* conservationReasonText(unsigned reason);
// The sentence of every bit set, in the order of the bits.
std::vector<std::string> conservationReasonTexts(unsigned reasons);

}  // namespace zentrova
