#include "state/set_snapshot.h"

namespace zentrova {

void SetSnapshot::restoreInto(ParticleSet& set) const {
  const bool stopped = set.Stopped;
  set = set_;
  set.Stopped = stopped;
}

ParticleRecord recordOf(const ParticleSet& set, const ParticleRecord& base) {
  ParticleRecord r = base;
  snapshotSetIntoRecord(set, r);
  return r;
}

bool sameSet(const SetSnapshot& a, const SetSnapshot& b) {
  const ParticleSet &x = a.set(), &y = b.set();
  if (x.Time != y.Time || x.FigureMode != y.FigureMode || x.SetFileName != y.SetFileName) return false;
  const ParticleRecord blank;
  return recordOf(x, blank).bytes == recordOf(y, blank).bytes;
}

}  // namespace zentrova
