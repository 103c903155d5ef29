#include "view/marks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "state/number_text.h"
#include "view/drawing.h"

namespace zentrova {

namespace {

// Okabe-Ito: orange, sky blue, bluish green, yellow, reddish purple.
constexpr Rgb kOrange{230, 159, 0}, kSkyBlue{86, 180, 233}, kBluishGreen{0, 158, 115}, kOkYellow{240, 228, 66},
    kReddishPurple{204, 121, 167}, kVermillion{213, 94, 0};
constexpr Rgb kMarkColor{255, 255, 255};
constexpr int kCharWidth = 7, kLineHeight = 14;  // room the text of the view takes, roughly

int clampedCount(const ParticleSet& s) { return std::clamp(s.Count, 0, kMaxParticles); }

bool valid(const ParticleSet& s, int i) { return i >= 1 && i <= clampedCount(s) && s.present(i); }

}  // namespace

Rgb taonColor(int i, int count, bool taoscope, Palette palette) {
  if (palette == Palette::Classic) return taonColor(i, count, taoscope);
  if (taoscope) return (i % 2 != 0) ? kOrange : kSkyBlue;
  switch (groupOf(i, count)) {
    case Group::PE:
      return kOkYellow;
    case Group::PES1:
      return kReddishPurple;
    case Group::PES2:
      break;
  }
  return kBluishGreen;
}

int pickParticle(const ViewState& v, const ParticleSet& s, int x, int y, int radius) {
  if (s.FigureMode) return 0;
  int best = 0;
  long long bestSq = static_cast<long long>(radius) * radius;
  for (int i = 1; i <= clampedCount(s); ++i) {
    if (!s.present(i)) continue;
    const long long dx = static_cast<long long>(v.ScreenX[i - 1]) - x;
    const long long dy = static_cast<long long>(v.ScreenY[i - 1]) - y;
    const long long sq = dx * dx + dy * dy;
    if (sq <= bestSq) best = i, bestSq = sq;  // on a tie the later, drawn over the earlier
  }
  return best;
}

Real particleAngle(const ParticleSet& s, int a, int vertex, int b) {
  const int p = vertex - 1, q = a - 1, r = b - 1;
  const Real ux = s.X[q] - s.X[p], uy = s.Y[q] - s.Y[p], uz = s.Z[q] - s.Z[p];
  const Real wx = s.X[r] - s.X[p], wy = s.Y[r] - s.Y[p], wz = s.Z[r] - s.Z[p];
  const Real nu = std::sqrt(ux * ux + uy * uy + uz * uz), nw = std::sqrt(wx * wx + wy * wy + wz * wz);
  if (!(nu > 0) || !(nw > 0)) return std::numeric_limits<Real>::quiet_NaN();
  const Real cosine = std::clamp((ux * wx + uy * wy + uz * wz) / (nu * nw), Real(-1), Real(1));
  return std::acos(cosine) * 180 / std::numbers::pi_v<Real>;
}

void DrawPicked(Canvas& c, const ViewState& v, const ParticleSet& s, const std::vector<int>& picked, int pointSize) {
  if (s.FigureMode) return;
  const int size = std::clamp(pointSize, 1, 16);
  const int off = dotOffset(size);
  c.setPenColor(kMarkColor);
  std::vector<Pixel> joined;
  for (const int i : picked) {
    if (!valid(s, i)) continue;
    // The dot covers [x - off, x - off + size); the ring keeps a pixel clear of it.
    const int left = v.ScreenX[i - 1] - off - 3, top = v.ScreenY[i - 1] - off - 3;
    const int right = left + size + 5, bottom = top + size + 5;
    c.line(left, top, right, top);
    c.line(right, top, right, bottom);
    c.line(right, bottom, left, bottom);
    c.line(left, bottom, left, top);
    joined.push_back({v.ScreenX[i - 1], v.ScreenY[i - 1]});
  }
  if (joined.size() > 1) c.polyline(joined);
}

void DrawTriad(Canvas& c, const ViewState& v) {
  constexpr int kLength = 22, kMargin = 30;
  const int ox = kMargin, oy = c.height() - kMargin;
  // Column k of the matrix is where axis k goes: row 1 across, row 3 down.
  const struct {
    Real across, down;
    Rgb color;
    const char* name;
  } axes[] = {{v.M11, v.M31, kVermillion, "x"}, {v.M12, v.M32, kBluishGreen, "y"}, {v.M13, v.M33, kSkyBlue, "z"}};
  c.setBrushColor(kBlack);
  for (const auto& a : axes) {
    if (!std::isfinite(a.across) || !std::isfinite(a.down)) continue;
    const int ex = ox + static_cast<int>(std::lround(static_cast<double>(a.across) * kLength));
    const int ey = oy + static_cast<int>(std::lround(static_cast<double>(a.down) * kLength));
    c.setPenColor(a.color);
    c.line(ox, oy, ex, ey);
    c.setFontColor(a.color);
    const int tx = ox + static_cast<int>(std::lround(static_cast<double>(a.across) * (kLength + 8))) - 3;
    const int ty = oy + static_cast<int>(std::lround(static_cast<double>(a.down) * (kLength + 8))) - kLineHeight / 2;
    c.text(tx, ty, a.name);
  }
}

Real scaleBarLength(Real distance, int maxPixels) {
  const Real perUnit = distance / 2;  // pixels per model unit
  if (!(perUnit > 0) || !std::isfinite(perUnit) || maxPixels <= 0) return 0;
  const Real most = maxPixels / perUnit;
  const Real decade = std::pow(Real(10), std::floor(std::log10(most)));
  for (const Real m : {Real(5), Real(2), Real(1)})
    if (m * decade <= most) return m * decade;
  return decade;
}

void DrawScaleBar(Canvas& c, const ViewState& v, char decimalSeparator) {
  constexpr int kMaxPixels = 120, kMargin = 14;
  const Real length = scaleBarLength(v.Distance, kMaxPixels);
  if (!(length > 0)) return;
  const int pixels = static_cast<int>(std::lround(static_cast<double>(length * v.Distance / 2)));
  const int right = c.width() - kMargin, left = right - pixels, y = c.height() - kMargin;
  c.setPenColor(kWhite);
  c.line(left, y, right, y);
  c.line(left, y - 4, left, y);
  c.line(right, y - 4, right, y);
  const std::string label = formatReal(length, decimalSeparator);
  c.setBrushColor(kBlack);
  c.setFontColor(kWhite);
  c.text(left + (pixels - static_cast<int>(label.size()) * kCharWidth) / 2, y - 4 - kLineHeight, label);
}

void DrawLegend(Canvas& c, int count, bool taoscope, Palette palette, const std::string& oddText,
                const std::string& evenText) {
  struct Entry {
    std::string text;
    Rgb color;
  };
  std::vector<Entry> entries;
  if (taoscope) {
    entries = {{oddText, taonColor(1, count, true, palette)}, {evenText, taonColor(2, count, true, palette)}};
  } else {
    const int pes1 = std::max(count - 40, 0), pes2 = std::max(count - 20, 0);
    entries = {{"PE 1-" + std::to_string(pes1), taonColor(1, count, false, palette)},
               {"PES1 " + std::to_string(pes1 + 1) + "-" + std::to_string(pes2),
                taonColor(pes1 + 1, count, false, palette)},
               {"PES2 " + std::to_string(pes2 + 1) + "-" + std::to_string(count),
                taonColor(pes2 + 1, count, false, palette)}};
  }
  std::size_t widest = 0;
  for (const Entry& e : entries) widest = std::max(widest, e.text.size());
  const int left = c.width() - 8 - 14 - static_cast<int>(widest) * kCharWidth;
  int top = 8;
  c.setBrushColor(kBlack);
  for (const Entry& e : entries) {
    c.setPenColor(e.color);
    c.setBrushColor(e.color);
    c.fillRect(left, top + 3, left + 8, top + 11);
    c.setBrushColor(kBlack);
    c.setFontColor(e.color);
    c.text(left + 14, top, e.text);
    top += kLineHeight;
  }
}

}  // namespace zentrova
