#include "state/particle_record.h"

#include "state/extended.h"

namespace zentrova {

namespace {

// The ten parameters in record order.
std::array<Real*, 10> parameters(ParticleSet& s) {
  return {&s.A1, &s.B1, &s.A2, &s.B2, &s.C2, &s.D2, &s.A3, &s.B3, &s.C3, &s.D3};
}

std::array<const Real*, 10> parameters(const ParticleSet& s) {
  return {&s.A1, &s.B1, &s.A2, &s.B2, &s.C2, &s.D2, &s.A3, &s.B3, &s.C3, &s.D3};
}

constexpr std::size_t slot(std::size_t array, int i) { return array + 10 * std::size_t(i - 1); }

}  // namespace

Real ParticleRecord::real(std::size_t offset) const { return decodeExtended(bytes.data() + offset); }

void ParticleRecord::setReal(std::size_t offset, Real value) { encodeExtended(value, bytes.data() + offset); }

void snapshotSetIntoRecord(const ParticleSet& set, ParticleRecord& record) {
  using R = ParticleRecord;
  record.setReal(R::kDt, set.Dt);
  const auto params = parameters(set);
  for (std::size_t p = 0; p < params.size(); ++p) record.setReal(R::kA1 + 10 * p, *params[p]);
  for (int i = 1; i <= set.Count && i <= kMaxParticles; ++i) record.bytes[R::kPresent + i - 1] = set.Present[i - 1];
  for (int i = 1; i <= set.Count && i <= kMaxParticles; ++i) {
    record.setReal(slot(R::kX, i), set.X[i - 1]);
    record.setReal(slot(R::kY, i), set.Y[i - 1]);
    record.setReal(slot(R::kZ, i), set.Z[i - 1]);
    record.setReal(slot(R::kUx, i), set.Ux[i - 1]);
    record.setReal(slot(R::kUy, i), set.Uy[i - 1]);
    record.setReal(slot(R::kUz, i), set.Uz[i - 1]);
  }
}

void loadRecordIntoSet(const ParticleRecord& record, ParticleSet& set) {
  using R = ParticleRecord;
  set.Dt = record.real(R::kDt);
  auto params = parameters(set);
  for (std::size_t p = 0; p < params.size(); ++p) *params[p] = record.real(R::kA1 + 10 * p);
  for (int i = 1; i <= set.Count && i <= kMaxParticles; ++i) set.Present[i - 1] = record.bytes[R::kPresent + i - 1];
  for (int i = 1; i <= set.Count && i <= kMaxParticles; ++i) {
    const int s = i - 1;
    set.X[s] = record.real(slot(R::kX, i));
    set.Y[s] = record.real(slot(R::kY, i));
    set.Z[s] = record.real(slot(R::kZ, i));
    set.Ux[s] = record.real(slot(R::kUx, i));
    set.Uy[s] = record.real(slot(R::kUy, i));
    set.Uz[s] = record.real(slot(R::kUz, i));
    set.DrawX[s] = set.X[s];
    set.X1[s] = set.X[s];
    set.DrawY[s] = set.Y[s];
    set.Y1[s] = set.Y[s];
    set.DrawZ[s] = set.Z[s];
    set.Z1[s] = set.Z[s];
    set.Ux1[s] = set.Ux[s];
    set.Uy1[s] = set.Uy[s];
    set.Uz1[s] = set.Uz[s];
  }
}

}  // namespace zentrova
