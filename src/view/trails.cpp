#include "view/trails.h"

#include <algorithm>
#include <cmath>

#include "state/fp_guard.h"

namespace zentrova {

Trails::Trails() : points_(static_cast<std::size_t>(kMaxParticles) * kLength) {}

void Trails::record(const DrawingSnapshot& set) {
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
constexpr double kDrawLimit = 1.0e6;

// A trail is only a guide for the eye: it is projected in double precision,
// which is many times faster than the dots' exact projection and lands on
// the same pixels but for rounding at pixel edges.
struct Projector {
  double m11, m12, m13, m31, m32, m33, scale, cx, cy;
  explicit Projector(const ViewState& v)
      : m11(double(v.M11)), m12(double(v.M12)), m13(double(v.M13)),
        m31(double(v.M31)), m32(double(v.M32)), m33(double(v.M33)),
        scale(double(v.Distance) / 2),
        cx(double(v.CenterX) + double(v.ShiftX)), cy(double(v.CenterY) + double(v.ShiftY)) {}
  bool operator()(const Trails::Point& p, Pixel& out) const {
    const double x = double(p.x), y = double(p.y), z = double(p.z);
    const double sx = cx + (m11 * x + m12 * y + m13 * z) * scale;
    const double sy = cy + (m31 * x + m32 * y + m33 * z) * scale;
    if (!(std::fabs(sx) < kDrawLimit && std::fabs(sy) < kDrawLimit)) return false;  // NaN too
    out = {static_cast<int>(std::lrint(sx)), static_cast<int>(std::lrint(sy))};
    return true;
  }
};

}  // namespace

void DrawTrails(const Scene& scene, const Trails& trails) {
  const DrawingSnapshot& s = scene.set;
  Canvas& c = scene.canvas;
  FpFlagsKept kept;  // a trail is drawn quietly, like the fit
  std::vector<Pixel> line;
  const Projector project(scene.view);
  const int count = std::clamp(s.Count, 0, kMaxParticles);
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i) || trails.length(i) < 2) continue;
    c.setPenColor(trailColor(taonColor(i, s.Count, scene.taoscope, scene.palette)));
    line.clear();
    for (int k = 0; k < trails.length(i); ++k) {
      Pixel px;
      if (project(trails.at(i, k), px)) {
        if (line.empty() || px.x != line.back().x || px.y != line.back().y) line.push_back(px);
        continue;
      }
      if (line.size() > 1) c.polyline(line);
      line.clear();
    }
    if (line.size() > 1) c.polyline(line);
  }
}

}  // namespace zentrova
