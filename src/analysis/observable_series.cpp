#include "analysis/observable_series.h"

namespace zentrova {

ObservableSeries::ObservableSeries(std::size_t capacity) : capacity_(capacity < 4 ? 4 : capacity + capacity % 2) {
  samples_.reserve(capacity_);
}

void ObservableSeries::clear() {
  samples_.clear();
  stride_ = 1;
  offered_ = 0;
  tailExtra_ = false;
  ++revision_;
}

void ObservableSeries::record(const Observables& o) {
  if (!samples_.empty()) {
    if (o.step < samples_.back().step) {
      clear();
    } else if (o.step == samples_.back().step) {
      samples_.back() = o;
      return;
    }
  }
  if (tailExtra_) samples_.pop_back();
  tailExtra_ = offered_ % stride_ != 0;
  ++offered_;
  samples_.push_back(o);
  if (tailExtra_ || samples_.size() < capacity_) return;
  // Keep the samples at even places: the multiples of the doubled stride.
  std::size_t kept = 0;
  for (std::size_t n = 0; n < samples_.size(); n += 2) samples_[kept++] = samples_[n];
  samples_.resize(kept);
  stride_ *= 2;
  ++revision_;
  samples_.push_back(o);  // dropped with the odd places, kept as the newest
  tailExtra_ = true;
}

std::string ObservableSeries::csv() const {
  std::string text = std::string(observablesCsvHeader()) + "\n";
  for (const Observables& o : samples_) text += observablesCsvRow(o) + "\n";
  return text;
}

}  // namespace zentrova
