#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "analysis/observables.h"

namespace zentrova {

// The observables of a run over time in bounded memory. Samples are taken at
// every `stride`-th offer; when `capacity` are held, every other one is
// dropped and the stride doubles, so the whole run stays covered at an even
// spacing. The newest offer is always kept as the last sample.
class ObservableSeries {
 public:
  explicit ObservableSeries(std::size_t capacity = 2000);

  // A sample of an earlier step than the last starts a new series (another
  // set was loaded); one of the same step replaces the last (the set was
  // edited between steps).
  void record(const Observables& o);
  void clear();

  const std::vector<Observables>& samples() const { return samples_; }
  // Changes whenever a sample other than the last is dropped or moved, so a
  // plot can append to what it drew until then.
  unsigned revision() const { return revision_; }
  // The header and a row per sample, each ending in a newline.
  std::string csv() const;

 private:
  std::size_t capacity_;
  std::size_t stride_ = 1;
  std::size_t offered_ = 0;
  bool tailExtra_ = false;
  unsigned revision_ = 0;  // the last sample is off the stride, kept only as the newest
  std::vector<Observables> samples_;
};

}  // namespace zentrova
