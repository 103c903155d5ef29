#include "analysis/energy_record.h"

#include <cmath>
#include <limits>

#include "state/fp_guard.h"

namespace zentrova {

namespace {
constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
}

void EnergyRecord::add(const Observables& o) {
  FpFlagsKept kept;
  if (o.min_i != 0 && o.min_distance > 0) {
    const Real r = o.step_max / o.min_distance;
    if (r > stepRatio_) stepRatio_ = r;
  }
  if (!o.conservative) conserved_ = false;
  if (samples_ == 0) e0_ = o.energy, t0_ = o.time;
  ++samples_;
  const Real e = o.energy - e0_, t = o.time - t0_;
  if (std::isnan(e))
    maxError_ = kNaN;  // stays: the error is unknown
  else if (std::fabs(e) > maxError_)
    maxError_ = std::fabs(e);
  kinetic_ += o.kinetic;
  st_ += t, se_ += e, stt_ += t * t, ste_ += t * e;
}

Real EnergyRecord::start() const { return conserved() ? e0_ : kNaN; }

Real EnergyRecord::maxError() const { return conserved() ? maxError_ : kNaN; }

Real EnergyRecord::relativeError() const {
  if (!conserved()) return kNaN;
  const Real mean = kinetic_ / samples_;
  return mean > 0 ? maxError_ / mean : kNaN;
}

Real EnergyRecord::drift() const {
  if (!conserved() || samples_ < 2) return kNaN;
  const Real n = samples_;
  const Real den = n * stt_ - st_ * st_;
  return den > 0 ? (n * ste_ - st_ * se_) / den : kNaN;
}

}  // namespace zentrova
