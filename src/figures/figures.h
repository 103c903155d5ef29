#pragma once
#include "state/particle_set.h"
#include "state/real.h"

namespace zentrova {

struct Point3 {
  Real x = 0, y = 0, z = 0;
};

// R = (w·P + Q) / (w + 1) per coordinate: P·w, plus Q, divided by 1 + w.
// w = 1 gives the midpoint; w = 1/2 the point a third of the way from Q to P.
Point3 weightedPoint(double w, const Point3& p, const Point3& q);

// The three constants of the spiral, in the order they are computed.
struct SpiralConstants {
  Real r;  // circumradius of the unit triangle, 0.5 / sin(pi/3)
  Real h;  // height of that triangle
  Real H;  // height of the first apex: sqrt(h^2 - 0.25), which is sqrt(0.5)
};
SpiralConstants spiralConstants();

inline constexpr int kSpiralPoints = 19;

// Clears all 60 drawing entries, then builds the spiral (FigureMode true and
// FigureKind 1) into the drawing arrays only, or nothing for another kind; or,
// with FigureMode false, the easy square: particles 1-4 at rest at the
// corners of a square with the default force parameters. Dt and particles
// 5-60 other than their drawing entries are kept. Cannot fail.
void buildFigure(ParticleSet& set);

}  // namespace zentrova
