#pragma once
#include "state/particle_record.h"
#include "state/particle_set.h"

namespace zentrova {

// The whole set at one moment: every array, the parameters, dt, presence, the
// step counter, the mode and the names. Undo and the editor's Cancel bring a
// set back from one; only the run flag stays as it is, since a snapshot never
// starts or stops a run.
class SetSnapshot {
 public:
  explicit SetSnapshot(const ParticleSet& set) : set_(set) {}
  void restoreInto(ParticleSet& set) const;
  const ParticleSet& set() const { return set_; }

 private:
  ParticleSet set_;
};

// Whether two snapshots hold the same set, compared bit for bit as the record
// Save would write, with the step counter, the mode and the file name.
bool sameSet(const SetSnapshot& a, const SetSnapshot& b);

// The record Save would write for the set, padding taken from base.
ParticleRecord recordOf(const ParticleSet& set, const ParticleRecord& base);

}  // namespace zentrova
