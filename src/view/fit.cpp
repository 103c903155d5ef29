#include "view/fit.h"

#include <algorithm>
#include <cmath>

#include "figures/figures.h"
#include "state/fp_guard.h"
#include "view/trails.h"
#include "view/transform.h"

namespace zentrova {

namespace {

struct Extent {
  Real minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
  bool any() const { return minX <= maxX; }
  void add(Real x, Real y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;  // such a point cannot be drawn anyway
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// The screen-plane extent of what the view shows, before scaling: the
// rotated x and z components, as the projection uses them.
Extent shownExtent(const Scene& scene, const Trails* trails) {
  const DrawingSnapshot& s = scene.set;
  Extent e;
  ViewState m = scene.view;
  const auto add = [&](Real x, Real y, Real z) {
    e.add(m.M11 * x + m.M12 * y + m.M13 * z, m.M31 * x + m.M32 * y + m.M33 * z);
  };
  if (s.FigureMode) {
    // The stored figure is turned by the current angles once more as it is
    // drawn: fit what that drawing shows.
    BuildMatrix(m);
    for (int k = 0; k < kSpiralPoints; ++k) add(s.DrawX[k], s.DrawY[k], s.DrawZ[k]);
    return e;
  }
  BuildPrevMatrix(m);
  const int count = std::clamp(s.Count, 0, kMaxParticles);
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    add(s.DrawX[i - 1], s.DrawY[i - 1], s.DrawZ[i - 1]);
    if (!trails) continue;
    for (int k = 0; k < trails->length(i); ++k) {
      const Trails::Point p = trails->at(i, k);
      add(p.x, p.y, p.z);
    }
  }
  return e;
}

// Largest scale that maps a span of the model onto room pixels; infinite
// when the span is empty.
Real scaleFor(Real span, Real room) { return span > 0 ? 2 * room / span : INFINITY; }

// Keeps every projected coordinate, and the sums that make it, well inside
// the precision of a real.
constexpr Real kMaxScreenMagnitude = 1.0e12L;

}  // namespace

int fitMargin(int width, int height) { return std::clamp(std::min(width, height) / 20, 4, 24); }

namespace {

void fitWithin(const Scene& scene, int topInset, const Trails* alsoFit, Real fill) {
  {
    FpFlagsKept quiet;
    ViewState& v = scene.view;
    const Extent e = shownExtent(scene, alsoFit);
    if (e.any()) {
      const int w = scene.canvas.width(), h = scene.canvas.height();
      const int m = fitMargin(w, h);
      const int dot = std::max(scene.pointSize, 1);
      // Pixels a dot's anchor may take: [lo, hi] on each axis; one pixel is
      // held back for the rounding of the projection.
      const int off = dotOffset(dot);
      Real loX = m + off, hiX = w - 1 - m - (dot - 1 - off);
      Real loY = m + off + std::max(topInset, 0), hiY = h - 1 - m - (dot - 1 - off);
      if (hiX < loX) loX = hiX = (w - 1) / 2.0L;
      if (hiY < loY) loY = hiY = (h - 1) / 2.0L;
      Real roomX = std::max<Real>(hiX - loX - 1, 0), roomY = std::max<Real>(hiY - loY - 1, 0);
      if (fill < 1) roomX = roomY = fill * std::min(roomX, roomY);
      Real d = std::min(scaleFor(e.maxX - e.minX, roomX), scaleFor(e.maxY - e.minY, roomY));
      if (!std::isfinite(d)) d = (std::isfinite(v.Distance) && v.Distance > 0) ? v.Distance : kStartDistance;
      const Real far = std::max({std::fabs(e.minX), std::fabs(e.maxX), std::fabs(e.minY), std::fabs(e.maxY)});
      if (far * d / 2 > kMaxScreenMagnitude) d = 2 * kMaxScreenMagnitude / far;
      if (d > 0 && std::isnormal(d)) {
        const Real midX = e.minX / 2 + e.maxX / 2, midY = e.minY / 2 + e.maxY / 2;
        v.Distance = d;
        v.ShiftX = (loX + hiX) / 2 - v.CenterX - midX * d / 2;
        v.ShiftY = (loY + hiY) / 2 - v.CenterY - midY * d / 2;
      }
    }
  }
  RedrawView(scene);
}

}  // namespace

void FitToView(const Scene& scene, int topInset, const Trails* alsoFit) { fitWithin(scene, topInset, alsoFit, 1); }

bool particleOffView(const Scene& scene) {
  const DrawingSnapshot& s = scene.set;
  if (s.FigureMode) return false;
  const int w = scene.canvas.width(), h = scene.canvas.height();
  const int count = std::clamp(s.Count, 0, kMaxParticles);
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    const int x = scene.view.ScreenX[i - 1], y = scene.view.ScreenY[i - 1];
    if (x < 0 || y < 0 || x >= w || y >= h) return true;
  }
  return false;
}

bool noParticleInView(const Scene& scene) {
  const DrawingSnapshot& s = scene.set;
  if (s.FigureMode) return false;
  const int w = scene.canvas.width(), h = scene.canvas.height();
  const int count = std::clamp(s.Count, 0, kMaxParticles);
  bool any = false;
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    any = true;
    const int x = scene.view.ScreenX[i - 1], y = scene.view.ScreenY[i - 1];
    if (x >= 0 && y >= 0 && x < w && y < h) return false;
  }
  return any;
}

bool KeepInView(const Scene& scene, int topInset, bool mayWait) {
  if (scene.set.FigureMode || !particleOffView(scene)) return false;
  if (mayWait && !noParticleInView(scene)) return false;
  fitWithin(scene, topInset, nullptr, kKeepInViewFill);
  return true;
}

void WheelZoom(const Scene& scene, Real notches) {
  {
    FpFlagsKept quiet;
    ViewState& v = scene.view;
    const Real f = std::pow(kWheelZoomFactor, notches);
    const Real d = v.Distance * f, sx = v.ShiftX * f, sy = v.ShiftY * f;
    const bool usable = std::isnormal(d) && std::fabs(d) < kMaxScreenMagnitude && std::fabs(d) > 1.0e-300L &&
                        std::isfinite(sx) && std::isfinite(sy);
    if (usable) {
      v.Distance = d;
      v.ShiftX = sx;
      v.ShiftY = sy;
    }
  }
  RedrawView(scene);
}

}  // namespace zentrova
