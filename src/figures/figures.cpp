#include "figures/figures.h"

#include "state/named_parameters.h"

#include <cmath>

namespace zentrova {

Point3 weightedPoint(double w, const Point3& p, const Point3& q) {
  const Real wr = w;
  const Real sum = 1.0L + wr;
  return Point3{(p.x * wr + q.x) / sum, (p.y * wr + q.y) / sum, (p.z * wr + q.z) / sum};
}

SpiralConstants spiralConstants() {
  SpiralConstants c{};
  c.r = 0.5L / std::sin(1.0471975511965977461L);
  c.h = std::sqrt(1.0L - 0.5L * 0.5L);
  c.H = std::sqrt(c.h * c.h - 0.5L * 0.5L);
  return c;
}

namespace {

struct SpiralStep {
  int made, a, b, t, v;
};

// Each new point reflects V through the centroid of triangle A B T.
constexpr SpiralStep kSpiralSteps[] = {
    {6, 2, 1, 5, 3},      {7, 2, 1, 6, 5},      {8, 6, 2, 7, 1},      {9, 6, 2, 8, 7},
    {10, 8, 2, 9, 6},     {11, 8, 2, 10, 9},    {12, 10, 2, 11, 8},   {13, 10, 2, 12, 11},
    {14, 12, 10, 13, 2},  {15, 12, 10, 14, 13}, {16, 14, 10, 15, 12}, {17, 14, 10, 16, 15},
    {18, 16, 10, 17, 14}, {19, 16, 10, 18, 17},
};

Point3 drawPoint(const ParticleSet& s, int i) {
  return Point3{s.DrawX[i - 1], s.DrawY[i - 1], s.DrawZ[i - 1]};
}

void setDrawPoint(ParticleSet& s, int i, Real x, Real y, Real z) {
  s.DrawX[i - 1] = x;
  s.DrawY[i - 1] = y;
  s.DrawZ[i - 1] = z;
}

void buildSpiral(ParticleSet& s) {
  const SpiralConstants c = spiralConstants();
  setDrawPoint(s, 1, 0, 0, 0);
  setDrawPoint(s, 2, 1, 0, 0);
  setDrawPoint(s, 3, 0.5L, 0, c.h);
  setDrawPoint(s, 4, 0.5L, c.H, c.h - c.r);
  setDrawPoint(s, 5, 0.5L, -c.H, c.h - c.r);

  // The weight is passed as a double, as weightedPoint takes it.
  const double u = static_cast<double>((c.h - c.r) / c.r);
  for (const SpiralStep& st : kSpiralSteps) {
    const Point3 m = weightedPoint(1, drawPoint(s, st.a), drawPoint(s, st.b));
    const Point3 g = weightedPoint(u, drawPoint(s, st.t), m);
    const Point3 v = drawPoint(s, st.v);
    setDrawPoint(s, st.made, g.x * 2 - v.x, g.y * 2 - v.y, g.z * 2 - v.z);
  }
}

void buildEasySquare(ParticleSet& s) {
  constexpr Real a = 0.212L;
  setDrawPoint(s, 1, a, a, -a);
  setDrawPoint(s, 2, a, a, a);
  setDrawPoint(s, 3, -a, a, a);
  setDrawPoint(s, 4, -a, a, -a);

  applyStandardParameters(s);

  for (int i = 1; i <= 4; ++i) {
    const int k = i - 1;
    s.setParticle(i, {s.DrawX[k], s.DrawY[k], s.DrawZ[k]}, {0, 0, 0}, true);
  }
}

}  // namespace

void buildFigure(ParticleSet& set) {
  set.DrawX.fill(0);
  set.DrawY.fill(0);
  set.DrawZ.fill(0);
  if (set.FigureMode) {
    if (set.FigureKind == 1) buildSpiral(set);
  } else {
    buildEasySquare(set);
  }
}

}  // namespace zentrova
