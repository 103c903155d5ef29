#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "state/particle_set.h"

namespace zentrova {

// The 3784-byte snapshot of a set stored in a .lis1 file.
struct ParticleRecord {
  static constexpr std::size_t kSize = 3784;
  static constexpr std::size_t kDt = 0;
  static constexpr std::size_t kA1 = 16;  // A1 B1 A2 B2 C2 D2 A3 B3 C3 D3, 10 bytes apart
  static constexpr std::size_t kX = 120;
  static constexpr std::size_t kY = 720;
  static constexpr std::size_t kZ = 1320;
  static constexpr std::size_t kUx = 1920;
  static constexpr std::size_t kUy = 2520;
  static constexpr std::size_t kUz = 3120;
  static constexpr std::size_t kPresent = 3720;

  std::array<std::uint8_t, kSize> bytes{};

  Real real(std::size_t offset) const;
  void setReal(std::size_t offset, Real value);
};

// Copies the live set into the record; padding bytes keep what they held.
void snapshotSetIntoRecord(const ParticleSet& set, ParticleRecord& record);
// Copies the record into the live set, bit for bit, and makes the step buffer
// and the drawing positions equal to the loaded values.
void loadRecordIntoSet(const ParticleRecord& record, ParticleSet& set);

}  // namespace zentrova
