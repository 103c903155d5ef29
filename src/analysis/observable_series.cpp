#include "analysis/observable_series.h"

namespace zentrova {

ObservableSeries::ObservableSeries(std::size_t capacity) : capacity_(capacity < 4 ? 4 : capacity) {
  samples_.reserve(capacity_ + 1);
  joined_.reserve(capacity_ + 1);
}

void ObservableSeries::clear() {
  samples_.clear();
  joined_.clear();
  stride_ = 1;
  tailExtra_ = false;
}

bool ObservableSeries::wants(int step) const {
  return samples_.empty() || step < samples_.back().step || step % stride_ == 0;
}

void ObservableSeries::record(const Observables& o, bool seenSince) {
  if (!samples_.empty()) {
    if (o.step < samples_.back().step) {
      clear();
    } else if (o.step == samples_.back().step) {
      samples_.back() = o;
      return;
    }
  }
  bool joined = !samples_.empty() && seenSince;
  if (tailExtra_) {  // the newest before this one was off the stride
    joined = joined && joined_.back();
    samples_.pop_back();
    joined_.pop_back();
  }
  tailExtra_ = o.step % stride_ != 0;
  samples_.push_back(o);
  joined_.push_back(joined);
  if (!tailExtra_ && samples_.size() >= capacity_) thin(capacity_);
}

void ObservableSeries::raiseStride(std::int64_t stride) {
  while (stride_ < stride && stride_ < (std::int64_t(1) << 40)) thin(0);
}

// Doubles the stride until fewer than `limit` samples are left on it (once
// for a limit of 0); a kept sample is joined to the one before it only when
// every dropped one between them was.
void ObservableSeries::thin(std::size_t limit) {
  bool once = limit == 0;
  while ((once || (limit > 0 && samples_.size() >= limit)) && stride_ < (std::int64_t(1) << 40)) {
    once = false;
    stride_ *= 2;
    std::size_t kept = 0;
    bool chain = true;
    for (std::size_t n = 0; n < samples_.size(); ++n) {
      chain = chain && joined_[n];
      if (samples_[n].step % stride_ != 0 && n + 1 != samples_.size()) continue;
      samples_[kept] = samples_[n];
      joined_[kept] = kept > 0 && chain;
      ++kept;
      chain = true;
    }
    samples_.resize(kept);
    joined_.resize(kept);
    tailExtra_ = !samples_.empty() && samples_.back().step % stride_ != 0;
  }
}

std::string ObservableSeries::csv() const {
  std::string text = std::string(observablesCsvHeader()) + "\n";
  for (const Observables& o : samples_) text += observablesCsvRow(o) + "\n";
  return text;
}

}  // namespace zentrova
