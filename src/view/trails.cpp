#include "view/trails.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace zentrova {

Trails::Trails() : points_(static_cast<std::size_t>(kMaxParticles) * kLength) {}

void Trails::record(const ParticleSet& set) {
  const int count = std::clamp(set.Count, 0, kMaxParticles);
  for (int i = 1; i <= count; ++i) {
    if (!set.present(i)) continue;
    const int a = i - 1;
    points_[static_cast<std::size_t>(a * kLength + head_[a])] = {set.DrawX[a], set.DrawY[a], set.DrawZ[a]};
    head_[a] = (head_[a] + 1) % kLength;
    count_[a] = std::min(count_[a] + 1, kLength);
  }
}

void Trails::clear() {
  head_.fill(0);
  count_.fill(0);
}

bool Trails::empty() const {
  return std::all_of(count_.begin(), count_.end(), [](int n) { return n == 0; });
}

Trails::Point Trails::at(int i, int k) const {
  const int a = i - 1;
  const int slot = (head_[a] - count_[a] + k + kLength) % kLength;
  return points_[static_cast<std::size_t>(a * kLength + slot)];
}

Rgb trailColor(Rgb dot) {
  return Rgb{static_cast<std::uint8_t>(dot.r / 2), static_cast<std::uint8_t>(dot.g / 2),
             static_cast<std::uint8_t>(dot.b / 2)};
}

namespace {

// Far enough out to be off any screen, near enough for any surface to draw.
constexpr Real kDrawLimit = 1.0e6L;

bool project(const ViewState& v, const Trails::Point& p, Pixel& out) {
  const Real xr = v.M11 * p.x + v.M12 * p.y + v.M13 * p.z;
  const Real zr = v.M31 * p.x + v.M32 * p.y + v.M33 * p.z;
  const Real sx = v.CenterX + xr * v.Distance / 2 + v.ShiftX;
  const Real sy = v.CenterY + zr * v.Distance / 2 + v.ShiftY;
  if (!(std::fabs(sx) < kDrawLimit && std::fabs(sy) < kDrawLimit)) return false;  // NaN too
  out = {static_cast<int>(std::nearbyint(sx)), static_cast<int>(std::nearbyint(sy))};
  return true;
}

}  // namespace

void DrawTrails(const Scene& scene, const Trails& trails) {
  const ParticleSet& s = scene.set;
  Canvas& c = scene.canvas;
  std::fexcept_t saved;
  std::fegetexceptflag(&saved, FE_ALL_EXCEPT);
  std::vector<Pixel> line;
  const int count = std::clamp(s.Count, 0, kMaxParticles);
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i) || trails.length(i) < 2) continue;
    c.setPenColor(trailColor(taonColor(i, s.Count, scene.taoscope)));
    line.clear();
    for (int k = 0; k < trails.length(i); ++k) {
      Pixel px;
      if (project(scene.view, trails.at(i, k), px)) {
        if (line.empty() || px.x != line.back().x || px.y != line.back().y) line.push_back(px);
        continue;
      }
      if (line.size() > 1) c.polyline(line);
      line.clear();
    }
    if (line.size() > 1) c.polyline(line);
  }
  std::fesetexceptflag(&saved, FE_ALL_EXCEPT);
}

}  // namespace zentrova
