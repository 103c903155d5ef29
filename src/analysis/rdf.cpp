#include "analysis/rdf.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "state/number_text.h"

namespace zentrova {

namespace {

Group parseGroup(const std::string& name, const std::string& whole) {
  if (name == "PE") return Group::PE;
  if (name == "PES1") return Group::PES1;
  if (name == "PES2") return Group::PES2;
  throw std::invalid_argument("'" + whole + "' is not a pair of groups (PE, PES1, PES2), as in PE-PES1");
}

GroupPair ordered(Group a, Group b) { return a <= b ? GroupPair{a, b} : GroupPair{b, a}; }

int usedCount(const ParticleSet& s) { return std::clamp(s.Count, 0, kMaxParticles); }

Real distance(const ParticleSet& s, int a, int b) {
  const Real dx = s.X[a] - s.X[b], dy = s.Y[a] - s.Y[b], dz = s.Z[a] - s.Z[b];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

GroupPair parseGroupPair(const std::string& text) {
  const auto dash = text.find('-');
  if (dash == std::string::npos) parseGroup("", text);
  return ordered(parseGroup(text.substr(0, dash), text), parseGroup(text.substr(dash + 1), text));
}

std::string groupPairName(const GroupPair& p) { return std::string(groupName(p.first)) + "-" + groupName(p.second); }

std::vector<GroupPair> allGroupPairs() {
  std::vector<GroupPair> all;
  for (Group a : {Group::PE, Group::PES1, Group::PES2})
    for (Group b : {Group::PE, Group::PES1, Group::PES2})
      if (a <= b) all.push_back({a, b});
  return all;
}

Real largestDistance(const ParticleSet& s) {
  Real largest = 0;
  const int count = usedCount(s);
  for (int i = 1; i <= count; ++i)
    for (int k = i + 1; k <= count; ++k)
      if (s.present(i) && s.present(k)) largest = std::max(largest, distance(s, i - 1, k - 1));
  return largest;
}

RadialDistribution::RadialDistribution(int bins, Real range, std::vector<GroupPair> pairs)
    : bins_(bins), range_(range), pairs_(std::move(pairs)) {
  if (bins < 1) throw std::invalid_argument("the number of bins must be at least 1");
  if (!(range > 0) || !std::isfinite(range)) throw std::invalid_argument("the range must be a positive distance");
  for (GroupPair& p : pairs_) p = ordered(p.first, p.second);
  counts_.assign(pairs_.size(), std::vector<std::uint64_t>(bins, 0));
  pairTotals_.assign(pairs_.size(), 0);
}

void RadialDistribution::add(const ParticleSet& s) {
  ++frames_;
  const int count = usedCount(s);
  int inGroup[3] = {0, 0, 0};
  for (int i = 1; i <= count; ++i)
    if (s.present(i)) ++inGroup[static_cast<int>(groupOf(i, s.Count))];
  for (std::size_t p = 0; p < pairs_.size(); ++p) {
    const int na = inGroup[static_cast<int>(pairs_[p].first)], nb = inGroup[static_cast<int>(pairs_[p].second)];
    pairTotals_[p] += pairs_[p].first == pairs_[p].second ? std::uint64_t(na) * (na - 1) / 2 : std::uint64_t(na) * nb;
  }
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    for (int k = i + 1; k <= count; ++k) {
      if (!s.present(k)) continue;
      const Real d = distance(s, i - 1, k - 1);
      if (!(d <= range_)) continue;  // beyond the range, or NaN
      const int b = std::min(bins_ - 1, static_cast<int>(d / range_ * bins_));
      const GroupPair here = ordered(groupOf(i, s.Count), groupOf(k, s.Count));
      for (std::size_t p = 0; p < pairs_.size(); ++p)
        if (pairs_[p] == here) ++counts_[p][b];
    }
  }
}

Real RadialDistribution::binLow(int b) const { return range_ * b / bins_; }
Real RadialDistribution::binHigh(int b) const { return range_ * (b + 1) / bins_; }

Real RadialDistribution::g(std::size_t p, int b) const {
  if (pairTotals_[p] == 0) return std::numeric_limits<Real>::quiet_NaN();
  const Real lo = binLow(b) / range_, hi = binHigh(b) / range_;
  const Real share = hi * hi * hi - lo * lo * lo;
  return static_cast<Real>(counts_[p][b]) / (static_cast<Real>(pairTotals_[p]) * share);
}

std::string RadialDistribution::csv() const {
  std::string t = "pair,r_low,r_high,count,g\n";
  for (std::size_t p = 0; p < pairs_.size(); ++p)
    for (int b = 0; b < bins_; ++b) {
      const Real g = this->g(p, b);
      t += groupPairName(pairs_[p]) + "," + machineReal(binLow(b)) + "," + machineReal(binHigh(b)) + "," +
           std::to_string(counts_[p][b]) + "," + (std::isnan(g) ? std::string("nan") : machineReal(g)) + "\n";
    }
  return t;
}

}  // namespace zentrova
