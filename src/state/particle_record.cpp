#include "state/particle_record.h"

#include "state/extended.h"
#include "state/named_parameters.h"

namespace zentrova {

namespace {

// dt, then the ten force parameters 10 bytes apart, in the table's order.
std::size_t parameterOffset(std::size_t k) {
  return k == 0 ? ParticleRecord::kDt : ParticleRecord::kA1 + 10 * (k - 1);
}

constexpr std::size_t slot(std::size_t array, int i) { return array + 10 * std::size_t(i - 1); }

}  // namespace

Real ParticleRecord::real(std::size_t offset) const { return decodeExtended(bytes.data() + offset); }

void ParticleRecord::setReal(std::size_t offset, Real value) { encodeExtended(value, bytes.data() + offset); }

void snapshotSetIntoRecord(const ParticleSet& set, ParticleRecord& record) {
  using R = ParticleRecord;
  const auto& params = namedParameters();
  for (std::size_t k = 0; k < params.size(); ++k) record.setReal(parameterOffset(k), set.*params[k].field);
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
  const auto& params = namedParameters();
  for (std::size_t k = 0; k < params.size(); ++k) set.*params[k].field = record.real(parameterOffset(k));
  for (int i = 1; i <= set.Count && i <= kMaxParticles; ++i) set.Present[i - 1] = record.bytes[R::kPresent + i - 1];
  for (int i = 1; i <= set.Count && i <= kMaxParticles; ++i) {
    const int s = i - 1;
    set.X[s] = record.real(slot(R::kX, i));
    set.Y[s] = record.real(slot(R::kY, i));
    set.Z[s] = record.real(slot(R::kZ, i));
    set.Ux[s] = record.real(slot(R::kUx, i));
    set.Uy[s] = record.real(slot(R::kUy, i));
    set.Uz[s] = record.real(slot(R::kUz, i));
    set.alignParticle(i);
  }
}

}  // namespace zentrova
