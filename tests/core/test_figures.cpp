#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "figures/figures.h"

using namespace zentrova;

namespace {

// The spiral's points rounded to 12 decimals.
constexpr double kSpiral[19][3] = {
    {0.000000000000, 0.000000000000, 0.000000000000},
    {1.000000000000, 0.000000000000, 0.000000000000},
    {0.500000000000, 0.000000000000, 0.866025403784},
    {0.500000000000, 0.707106781187, 0.288675134595},
    {0.500000000000, -0.707106781187, 0.288675134595},
    {0.500000000000, -0.471404520791, -0.673575314055},
    {0.500000000000, 0.392837100659, -0.737725343965},
    {1.333333333333, -0.052378280088, -0.940867105346},
    {1.388888888889, -0.742025634578, -0.338569602303},
    {1.981481481481, -0.058198088987, -0.179382491045},
    {1.487654320988, 0.668308055196, -0.408263461958},
    {1.646090534979, 0.459118257561, 0.549103136678},
    {1.597393689986, -0.401027942813, 0.654743892380},
    {2.483310470965, -0.000071849493, 0.682976358676},
    {2.476527968298, 0.668260155534, 0.047054110493},
    {2.981456078850, -0.052458112857, -0.182004484595},
    {2.487637385900, -0.742078856425, 0.167338811531},
    {2.483739493189, -0.568418189353, -0.812341801415},
    {2.476813983114, 0.289362595627, -0.949824662901},
};

ParticleSet spiralSet() {
  ParticleSet s;
  s.Count = 60;
  s.FigureMode = true;
  s.FigureKind = 1;
  buildFigure(s);
  return s;
}

Real dist(const ParticleSet& s, int a, int b) {
  const Real dx = s.DrawX[a - 1] - s.DrawX[b - 1];
  const Real dy = s.DrawY[a - 1] - s.DrawY[b - 1];
  const Real dz = s.DrawZ[a - 1] - s.DrawZ[b - 1];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Fills every array with distinct values so that any stray write shows.
ParticleSet filledSet() {
  ParticleSet s;
  s.Count = 60;
  s.Dt = 0.125L;
  s.A1 = 11, s.B1 = 12, s.A2 = 21, s.B2 = 22, s.C2 = 23, s.D2 = 24;
  s.A3 = 31, s.B3 = 32, s.C3 = 33, s.D3 = 34;
  for (int k = 0; k < kMaxParticles; ++k) {
    s.X[k] = k + 0.1L, s.Y[k] = k + 0.2L, s.Z[k] = k + 0.3L;
    s.Ux[k] = -k - 0.1L, s.Uy[k] = -k - 0.2L, s.Uz[k] = -k - 0.3L;
    s.X1[k] = k + 1.1L, s.Y1[k] = k + 1.2L, s.Z1[k] = k + 1.3L;
    s.Ux1[k] = k + 2.1L, s.Uy1[k] = k + 2.2L, s.Uz1[k] = k + 2.3L;
    s.DrawX[k] = 7, s.DrawY[k] = 8, s.DrawZ[k] = 9;
    s.Present[k] = static_cast<std::uint8_t>(k % 3 == 0 ? 0 : 2);
  }
  return s;
}

bool sameBits(const RealSlots& a, const RealSlots& b) {
  for (std::size_t k = 0; k < a.size(); ++k)
    if (std::memcmp(&a[k], &b[k], 10) != 0) return false;
  return true;
}

}  // namespace

TEST(WeightedPoint, MidpointAndThird) {
  const Point3 p{3, 6, -9}, q{0, 0, 0};
  const Point3 m = weightedPoint(1, p, q);
  EXPECT_EQ(m.x, 1.5L);
  EXPECT_EQ(m.y, 3.0L);
  EXPECT_EQ(m.z, -4.5L);
  const Point3 t = weightedPoint(0.5, p, q);  // a third of the way from Q to P
  EXPECT_EQ(t.x, 1.0L);
  EXPECT_EQ(t.y, 2.0L);
  EXPECT_EQ(t.z, -3.0L);
}

TEST(Spiral, ConstantsAndWeight) {
  const SpiralConstants c = spiralConstants();
  EXPECT_NEAR(static_cast<double>(c.r), 0.577350269190, 5e-13);
  EXPECT_NEAR(static_cast<double>(c.h), 0.866025403784, 5e-13);
  EXPECT_NEAR(static_cast<double>(c.H), std::sqrt(0.5), 1e-15);
  EXPECT_EQ(static_cast<double>((c.h - c.r) / c.r), 0.5);
}

TEST(Spiral, MatchesTableTo12DecimalsAndLeavesTheRestZero) {
  const ParticleSet s = spiralSet();
  for (int i = 0; i < 19; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_NEAR(static_cast<double>(s.DrawX[i]), kSpiral[i][0], 5.1e-13);
    EXPECT_NEAR(static_cast<double>(s.DrawY[i]), kSpiral[i][1], 5.1e-13);
    EXPECT_NEAR(static_cast<double>(s.DrawZ[i]), kSpiral[i][2], 5.1e-13);
  }
  for (int i = 19; i < kMaxParticles; ++i) {
    EXPECT_EQ(s.DrawX[i], 0);
    EXPECT_EQ(s.DrawY[i], 0);
    EXPECT_EQ(s.DrawZ[i], 0);
  }
}

TEST(Spiral, DistancesOfTheFirstTetrahedron) {
  const ParticleSet s = spiralSet();
  const Real eps = 1e-17L;
  EXPECT_NEAR(static_cast<double>(dist(s, 1, 2)), 1.0, 0);
  EXPECT_LT(std::fabs(dist(s, 1, 3) - 1), eps);
  EXPECT_LT(std::fabs(dist(s, 2, 3) - 1), eps);
  const Real apex = std::sqrt(5.0L / 6.0L);  // not 1: the tetrahedra are not regular
  for (int apexPoint : {4, 5})
    for (int base : {1, 2, 3}) EXPECT_LT(std::fabs(dist(s, apexPoint, base) - apex), eps) << apexPoint << "-" << base;
  EXPECT_EQ(s.DrawX[5], 0.5L);
  EXPECT_EQ(s.DrawX[6], 0.5L);
  EXPECT_LT(std::fabs(s.DrawX[7] - 4.0L / 3.0L), eps);
}

TEST(Spiral, TouchesOnlyTheDrawingArrays) {
  ParticleSet s = filledSet();
  const ParticleSet before = s;
  s.FigureMode = true;
  s.FigureKind = 1;
  buildFigure(s);
  EXPECT_TRUE(sameBits(s.X, before.X) && sameBits(s.Y, before.Y) && sameBits(s.Z, before.Z));
  EXPECT_TRUE(sameBits(s.Ux, before.Ux) && sameBits(s.Uy, before.Uy) && sameBits(s.Uz, before.Uz));
  EXPECT_TRUE(sameBits(s.X1, before.X1) && sameBits(s.Uz1, before.Uz1));
  EXPECT_EQ(s.Present, before.Present);
  EXPECT_EQ(s.Dt, before.Dt);
  EXPECT_EQ(s.B1, before.B1);
  EXPECT_EQ(s.D3, before.D3);
}

TEST(Figure, OtherKindClearsTheDrawingArraysOnly) {
  for (int kind : {0, 2, -1}) {
    ParticleSet s = filledSet();
    const ParticleSet before = s;
    s.FigureMode = true;
    s.FigureKind = kind;
    buildFigure(s);
    for (int k = 0; k < kMaxParticles; ++k) {
      EXPECT_EQ(s.DrawX[k], 0);
      EXPECT_EQ(s.DrawY[k], 0);
      EXPECT_EQ(s.DrawZ[k], 0);
    }
    EXPECT_TRUE(sameBits(s.X, before.X) && sameBits(s.Uz1, before.Uz1));
    EXPECT_EQ(s.Present, before.Present);
    EXPECT_EQ(s.A1, before.A1);
  }
}

TEST(EasySquare, AfterALoadedSet) {
  ParticleSet s = filledSet();
  const ParticleSet before = s;
  s.FigureMode = false;
  s.FigureKind = 1;
  buildFigure(s);

  const Real a = 0.212L;
  const Real corners[4][3] = {{a, a, -a}, {a, a, a}, {-a, a, a}, {-a, a, -a}};
  for (int i = 1; i <= 4; ++i) {
    const int k = i - 1;
    SCOPED_TRACE(i);
    EXPECT_EQ(s.Present[k], 1);
    EXPECT_EQ(s.X[k], corners[k][0]);
    EXPECT_EQ(s.Y[k], corners[k][1]);
    EXPECT_EQ(s.Z[k], corners[k][2]);
    EXPECT_EQ(s.X1[k], s.X[k]);
    EXPECT_EQ(s.Y1[k], s.Y[k]);
    EXPECT_EQ(s.Z1[k], s.Z[k]);
    EXPECT_EQ(s.DrawX[k], s.X[k]);
    EXPECT_EQ(s.DrawZ[k], s.Z[k]);
    EXPECT_EQ(s.Ux[k], 0);
    EXPECT_EQ(s.Uy[k], 0);
    EXPECT_EQ(s.Uz[k], 0);
    EXPECT_EQ(s.Ux1[k], 0);
    EXPECT_EQ(s.Uy1[k], 0);
    EXPECT_EQ(s.Uz1[k], 0);
  }
  EXPECT_EQ(s.A1, 1.0L);
  EXPECT_EQ(s.B1, 2.718L);
  EXPECT_EQ(s.A2, 1.0L);
  EXPECT_EQ(s.B2, 0.3L);
  EXPECT_EQ(s.C2, 0.671L);
  EXPECT_EQ(s.D2, 1.2L);
  EXPECT_EQ(s.A3, 1.0L);
  EXPECT_EQ(s.B3, 0.3L);
  EXPECT_EQ(s.C3, 0.671L);
  EXPECT_EQ(s.D3, 1.2L);
  EXPECT_EQ(s.Dt, before.Dt);

  // Particles 5-60 keep presence, positions and velocities; only their
  // drawing entries are cleared.
  for (int k = 4; k < kMaxParticles; ++k) {
    EXPECT_EQ(s.Present[k], before.Present[k]);
    EXPECT_EQ(s.X[k], before.X[k]);
    EXPECT_EQ(s.Y[k], before.Y[k]);
    EXPECT_EQ(s.Z[k], before.Z[k]);
    EXPECT_EQ(s.Ux[k], before.Ux[k]);
    EXPECT_EQ(s.X1[k], before.X1[k]);
    EXPECT_EQ(s.Uz1[k], before.Uz1[k]);
    EXPECT_EQ(s.DrawX[k], 0);
    EXPECT_EQ(s.DrawY[k], 0);
    EXPECT_EQ(s.DrawZ[k], 0);
  }
}
