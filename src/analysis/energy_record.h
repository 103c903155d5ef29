#pragma once
#include <cstdint>

#include "analysis/observables.h"

namespace zentrova {

// How well a run kept its energy, from samples of its observables. The
// error is judged against the mean kinetic energy rather than E₀, which may
// lie near 0 for a bound set. Where energy is not conserved (any sample
// with conservative = 0) the energy values are NaN.
class EnergyRecord {
 public:
  void add(const Observables& o);

  int samples() const { return samples_; }
  bool conserved() const { return samples_ > 0 && conserved_; }
  Real start() const;         // E at the first sample
  Real maxError() const;      // max |E − E₀| over the samples
  Real relativeError() const; // maxError / the mean kinetic energy over the samples
  Real drift() const;         // least-squares slope of E over time, energy per unit time
  // The largest step_max / min_distance of a sample: how far the fastest
  // particle moves in one step against the closest pair's distance. 0 when
  // no sample had a pair.
  Real stepRatio() const { return stepRatio_; }

 private:
  int samples_ = 0;
  bool conserved_ = true;
  Real e0_ = 0, maxError_ = 0, kinetic_ = 0;
  // Sums for the fit, of t and of E − E₀, both relative to the first sample.
  Real st_ = 0, se_ = 0, stt_ = 0, ste_ = 0, t0_ = 0;
  Real stepRatio_ = 0;
};

// A step whose largest displacement exceeds this share of the closest pair's
// distance no longer resolves a close encounter.
constexpr Real kStepWarningRatio = 0.1L;

}  // namespace zentrova
