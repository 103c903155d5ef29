#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "state/particle_set.h"

namespace zentrova {

// A pair of groups whose distances are counted; first <= second.
using GroupPair = std::pair<Group, Group>;

// "PE-PES1" (either order, the names as written);
// throws std::invalid_argument for anything else.
GroupPair parseGroupPair(const std::string& text);
std::string groupPairName(const GroupPair& p);
// The six pairs PE-PE, PE-PES1, PE-PES2, PES1-PES1, PES1-PES2, PES2-PES2.
std::vector<GroupPair> allGroupPairs();

// The largest distance between two present particles; 0 with fewer than two.
Real largestDistance(const ParticleSet& set);

// The histogram of pair distances per pair of groups over one or more
// frames, and g(r): the count of a bin over what the same pairs would give
// spread evenly through the sphere of radius `range`,
//   g = count / (pairs · (r_high³ − r_low³) / range³),
// pairs summed over the frames (n_a·n_b for two groups, n(n − 1)/2 for one).
// Distances above the range are not counted; one equal to it falls in the
// last bin.
class RadialDistribution {
 public:
  // bins >= 1, range > 0; throws std::invalid_argument otherwise.
  RadialDistribution(int bins, Real range, std::vector<GroupPair> pairs);
  void add(const ParticleSet& frame);

  int frames() const { return frames_; }
  const std::vector<GroupPair>& pairs() const { return pairs_; }
  // Counts of pair p (an index into pairs()) in bin b.
  std::uint64_t count(std::size_t p, int b) const { return counts_[p][b]; }
  Real g(std::size_t p, int b) const;
  Real binLow(int b) const;
  Real binHigh(int b) const;
  // "pair,r_low,r_high,count,g" and a row per pair and bin, each ending in a
  // newline; reals with a full stop whatever the locale.
  std::string csv() const;

 private:
  int bins_;
  Real range_;
  std::vector<GroupPair> pairs_;
  std::vector<std::vector<std::uint64_t>> counts_;
  std::vector<std::uint64_t> pairTotals_;  // pairs summed over the frames
  int frames_ = 0;
};

}  // namespace zentrova
