#pragma once
// The reference vectors in tests/data were computed with the C library's exp
// and log; the program's own differ from them in the last bits, so reals are
// compared within 1e-15 relative. Everything else must match exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "state/particle_record.h"
#include "state/real.h"

namespace zentrova::testing {

inline bool closeToReference(Real got, Real want) {
  return std::memcmp(&got, &want, 10) == 0 || std::fabs(got - want) <= 1e-15L * std::fabs(want);
}

// Every real slot of the record within 1e-15 relative, every other byte
// (presence, padding) exactly.
inline ::testing::AssertionResult recordsClose(const ParticleRecord& got, const ParticleRecord& want) {
  using R = ParticleRecord;
  bool real[R::kSize] = {};
  auto mark = [&](std::size_t offset) {
    for (int b = 0; b < 10; ++b) real[offset + b] = true;
  };
  mark(R::kDt);
  for (int n = 0; n < 10; ++n) mark(R::kA1 + 10 * n);
  for (std::size_t base : {R::kX, R::kY, R::kZ, R::kUx, R::kUy, R::kUz})
    for (int n = 0; n < 60; ++n) mark(base + 10 * n);
  for (std::size_t i = 0; i < R::kSize; ++i) {
    if (real[i]) {
      if (!closeToReference(got.real(i), want.real(i)))
        return ::testing::AssertionFailure() << "real at byte " << i << ": " << double(got.real(i)) << " vs "
                                             << double(want.real(i));
      i += 9;
    } else if (got.bytes[i] != want.bytes[i]) {
      return ::testing::AssertionFailure() << "byte " << i << " differs";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace zentrova::testing
