#include "analysis/conservation.h"

#include <algorithm>

namespace zentrova {

namespace {

bool groupOff(Group g, const ForceSwitches& sw) {
  switch (g) {
    case Group::PE: return sw.peOut;
    case Group::PES1: return sw.pes1Out;
    case Group::PES2: return sw.pes2Out;
  }
  return false;
}

unsigned offReason(Group g) {
  switch (g) {
    case Group::PE: return kPeOff;
    case Group::PES1: return kPes1Off;
    case Group::PES2: return kPes2Off;
  }
  return 0;
}

}  // namespace

unsigned conservationReasons(const ParticleSet& set, const StepControls& c) {
  const int count = std::clamp(set.Count, 0, kMaxParticles);
  unsigned reasons = 0;
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    const bool iMoves = !isHeld(i, c.blockade);
    if (iMoves && c.cool) reasons |= kCoolOn;
    const Group gi = groupOf(i, set.Count);
    for (int k = i + 1; k <= count; ++k) {
      if (!set.present(k)) continue;
      const bool kMoves = !isHeld(k, c.blockade);
      if (!iMoves && !kMoves) continue;  // two held particles: nothing moves
      const Group gk = groupOf(k, set.Count);
      // The pull on i follows k's group, the pull on k follows i's.
      const bool onI = iMoves && !groupOff(gk, c.forces), onK = kMoves && !groupOff(gi, c.forces);
      if (gi != gk) {
        if (onI || onK) reasons |= kGroupsPull;
      } else if (groupOff(gi, c.forces)) {
        reasons |= offReason(gi);
      }
      // A held particle takes no reaction to the pull it exerts on a moving one.
      if (iMoves != kMoves && !groupOff(iMoves ? gk : gi, c.forces)) reasons |= kHeldPull;
    }
  }
  return reasons;
}

const char* conservationReasonText(unsigned reason) {
  if (reason & kCoolOn) return "Cool is on";
  if (reason & kGroupsPull) return "particles of several groups pull each other";
  if (reason & kPeOff) return "the pull of PE is off";
  if (reason & kPes1Off) return "the pull of PES1 is off";
  if (reason & kPes2Off) return "the pull of PES2 is off";
  if (reason & kHeldPull) return "Blockade holds a particle that pulls others";
  return nullptr;
}

std::vector<std::string> conservationReasonTexts(unsigned reasons) {
  std::vector<std::string> texts;
  for (unsigned bit = 1; bit <= kHeldPull; bit <<= 1)
    if (reasons & bit) texts.emplace_back(conservationReasonText(bit));
  return texts;
}

}  // namespace zentrova
