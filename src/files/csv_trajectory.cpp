#include "files/csv_trajectory.h"

#include "state/number_text.h"

namespace zentrova {

std::string formatCsvRecord(const ParticleSet& s, std::int64_t step) {
  std::string t;
  const std::string prefix = std::to_string(step) + ",";
  for (int i = 1; i <= kMaxParticles; ++i) {
    if (!s.present(i)) continue;
    const int a = i - 1;
    t += prefix + std::to_string(i);
    for (Real v : {s.X[a], s.Y[a], s.Z[a], s.Ux[a], s.Uy[a], s.Uz[a]}) t += "," + machineReal(v);
    t += "\n";
  }
  return t;
}

}  // namespace zentrova
