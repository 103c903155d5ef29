#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/observables.h"

namespace zentrova {

// The observables of a run over time in bounded memory, sampled by step:
// a sample is kept at every step that is a multiple of the stride. When
// `capacity` are held the stride doubles and the samples off the new stride
// are dropped, so the whole run stays covered at an even spacing. The newest
// sample is always kept as the last, on the stride or not.
class ObservableSeries {
 public:
  explicit ObservableSeries(std::size_t capacity = 2000);

  // Whether a sample of this step would be kept for good: the one who
  // measures need not measure the steps in between.
  bool wants(int step) const;
  // A sample of an earlier step than the last starts a new series (another
  // set was loaded); one of the same step replaces the last (the set was
  // edited between steps). `seenSince` tells whether every step since the
  // last sample was watched; when not, the stretch in between is a gap.
  void record(const Observables& o, bool seenSince = true);
  void clear();
  // Measures less often from now on: the stride becomes at least `stride`
  // (rounded up to a power of two), and the samples off it are dropped.
  void raiseStride(std::int64_t stride);

  const std::vector<Observables>& samples() const { return samples_; }
  // Whether sample n follows sample n - 1 without a gap (false for n = 0).
  bool joined(std::size_t n) const { return n > 0 && n < joined_.size() && joined_[n]; }
  std::int64_t stride() const { return stride_; }
  // The header and a row per sample, each ending in a newline.
  std::string csv() const;

 private:
  void thin(std::size_t limit);

  std::size_t capacity_;
  std::int64_t stride_ = 1;
  bool tailExtra_ = false;  // the last sample is off the stride, kept only as the newest
  std::vector<Observables> samples_;
  std::vector<char> joined_;
};

}  // namespace zentrova
