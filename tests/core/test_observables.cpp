// The measures of a set against values worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <clocale>
#include <cmath>
#include <limits>

#include "analysis/observable_series.h"
#include "analysis/observable_table.h"
#include "dynamics/force_law.h"
#include "state/number_text.h"

using namespace zentrova;

namespace {

ParticleSet emptySet() {
  ParticleSet s;
  s.Count = kMaxParticles;
  return s;
}

void put(ParticleSet& s, int i, Real x, Real y, Real z, Real ux = 0, Real uy = 0, Real uz = 0) {
  const int a = i - 1;
  s.X[a] = x, s.Y[a] = y, s.Z[a] = z;
  s.Ux[a] = ux, s.Uy[a] = uy, s.Uz[a] = uz;
  s.setPresent(i, true);
}

// One particle of each group on a 3-4-5 triangle, and an absent one that
// must count for nothing.
ParticleSet triangle() {
  ParticleSet s = emptySet();
  put(s, 1, 0, 0, 0, 1, 0, 0);
  put(s, 21, 3, 0, 0, 0, 2, 0);
  put(s, 41, 0, 4, 0, 1, 1, 1);
  put(s, 60, 1e6L, 1e6L, 1e6L, 1e3L, 0, 0);
  s.setPresent(60, false);
  s.Dt = 0.1L;
  s.Time = 3;
  return s;
}

}  // namespace

TEST(Observables, HandComputedTriangle) {
  const Observables o = observe(triangle(), {});
  EXPECT_EQ(o.step, 3);
  EXPECT_EQ(o.time, 3 * 0.1L);
  EXPECT_EQ(o.kinetic_pe, 0.5L);
  EXPECT_EQ(o.kinetic_pes1, 2);
  EXPECT_EQ(o.kinetic_pes2, 1.5L);
  EXPECT_EQ(o.kinetic, 4);
  EXPECT_EQ(o.com_x, 1);
  EXPECT_EQ(o.com_y, 4 / 3.0L);
  EXPECT_EQ(o.com_z, 0);
  // Squared distances from the centre: 25/9, 52/9 and 73/9; mean 50/9.
  EXPECT_NEAR(double(o.radius), std::sqrt(50.0) / 3, 1e-15);
  EXPECT_EQ(o.min_distance, 3);
  EXPECT_EQ(o.min_i, 1);
  EXPECT_EQ(o.min_k, 21);
  EXPECT_EQ(o.present, 3);
  EXPECT_EQ(o.momentum_x, 2);
  EXPECT_EQ(o.momentum_y, 3);
  EXPECT_EQ(o.momentum_z, 1);
  // r x u: particle 21 gives (0, 0, 6), particle 41 gives (4, 0, -4).
  EXPECT_EQ(o.angular_x, 4);
  EXPECT_EQ(o.angular_y, 0);
  EXPECT_EQ(o.angular_z, 2);
  // Three groups: no common potential, and no energy that must stay.
  EXPECT_EQ(o.potential, 0);
  EXPECT_EQ(o.energy, 4);
  EXPECT_EQ(o.conservative, 0);
}

TEST(Observables, FewParticlesTiesNaNAndFlags) {
  ParticleSet s = emptySet();
  Observables o = observe(s, {});
  EXPECT_EQ(o.kinetic, 0);
  EXPECT_EQ(o.radius, 0);
  EXPECT_TRUE(std::isinf(o.min_distance));
  EXPECT_EQ(o.min_i, 0);

  put(s, 5, 2, 2, 2, 0, 0, 3);
  o = observe(s, {});
  EXPECT_EQ(o.com_x, 2);
  EXPECT_EQ(o.radius, 0);
  EXPECT_EQ(o.kinetic, 4.5L);
  EXPECT_TRUE(std::isinf(o.min_distance));
  EXPECT_EQ(o.min_k, 0);

  // Two pairs at distance 1: the first in order is named.
  put(s, 7, 3, 2, 2);
  put(s, 9, 2, 3, 2);
  o = observe(s, {});
  EXPECT_EQ(o.min_distance, 1);
  EXPECT_EQ(o.min_i, 5);
  EXPECT_EQ(o.min_k, 7);

  // A NaN position makes the distance NaN, wherever its pair comes in order.
  for (int bad : {5, 9}) {
    ParticleSet n = s;
    n.X[bad - 1] = std::numeric_limits<Real>::quiet_NaN();
    EXPECT_TRUE(std::isnan(observe(n, {}).min_distance)) << bad;
  }

  // Overflowing sums come out infinite, and the caller's fault flags are as
  // they were: nothing raised, nothing cleared.
  put(s, 11, 0, 0, 0, 1e4000L, 0, 0);
  std::feclearexcept(FE_ALL_EXCEPT);
  std::feraiseexcept(FE_INEXACT);
  o = observe(s, {});
  EXPECT_TRUE(std::isinf(o.kinetic));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), FE_INEXACT);

  // A power of the potential that overflows (d^(B1/d) with B1 < 0 close up)
  // makes the potential and the energy NaN, and still raises nothing.
  s.B1 = -1;
  s.A1 = 1;
  put(s, 13, 2, 2, 2.0001L);
  o = observe(s, {});
  EXPECT_TRUE(std::isnan(o.potential));
  EXPECT_TRUE(std::isnan(o.energy));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), FE_INEXACT);
  std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(Observables, CsvHeaderAndRowOf21Digits) {
  EXPECT_STREQ(observablesCsvHeader(),
               "step,time,kinetic,kinetic_pe,kinetic_pes1,kinetic_pes2,com_x,com_y,com_z,radius,min_distance,min_i,min_k,"
               "potential,energy,conservative,momentum_x,momentum_y,momentum_z,angular_x,angular_y,angular_z,present");
  ParticleSet s = triangle();
  s.Time = 1;
  const std::string row = observablesCsvRow(observe(s, {}));
  EXPECT_EQ(row.substr(0, row.find(",2.357")),
            "1,0.100000000000000000001,4,0.5,2,1.5,1,1.33333333333333333337,0");
  EXPECT_EQ(row.substr(row.find(",3,1,21,")), ",3,1,21,0,4,0,2,3,1,4,0,2,3");
}

// The window runs in the user's locale, where printf would write 0,5.
TEST(Observables, TextForProgramsKeepsTheFullStopInACommaLocale) {
  const char* comma = nullptr;
  for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "pl_PL.UTF-8"})
    if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
      comma = name;
      break;
    }
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
  ParticleSet s = triangle();
  s.Time = 1;
  const std::string row = observablesCsvRow(observe(s, {}));
  const std::string json = machineReal(1234567.25L) + " " + machineReal(-0.5L) + " " + machineReal(0x1p-14L);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(std::count(row.begin(), row.end(), ','), 22) << comma << ": " << row;
  EXPECT_EQ(row.substr(0, row.find(",4,")), "1,0.100000000000000000001") << comma;
  EXPECT_EQ(json, "1234567.25 -0.5 6.103515625e-05") << comma;
}

TEST(Observables, SeriesStaysBoundedEvenAndEndsAtTheNewest) {
  ObservableSeries series(8);
  Observables o;
  for (int step = 0; step < 1000; ++step) {
    o.step = step;
    series.record(o);
    ASSERT_LE(series.samples().size(), 8u);
    ASSERT_EQ(series.samples().back().step, step);
  }
  const auto& s = series.samples();
  ASSERT_GE(s.size(), 5u);
  EXPECT_EQ(s.front().step, 0);
  // All but the newest are evenly spaced over the whole run.
  const int spacing = s[1].step - s[0].step;
  EXPECT_GE(spacing * int(s.size() - 1), 500);
  for (std::size_t n = 1; n + 1 < s.size(); ++n) EXPECT_EQ(s[n].step - s[n - 1].step, spacing);

  o.step = 999;
  o.kinetic = 7;  // the set edited between steps: same step, new values
  series.record(o);
  EXPECT_EQ(series.samples().back().kinetic, 7);
  EXPECT_EQ(series.samples().back().step, 999);
  o.step = 0;  // another set loaded
  series.record(o);
  EXPECT_EQ(series.samples().size(), 1u);
  EXPECT_EQ(series.csv(), std::string(observablesCsvHeader()) + "\n" + observablesCsvRow(o) + "\n");
}

namespace {

// The potential of a pair written out from its formula with the C library's
// powers and the signs of the law's table: Gravoscope sigma = -1 and S = -1;
// Taoscope S = +1, sigma = +1 for indices of equal parity, else -1.
long double expectedPotential(const ParticleSet& s, int i, int k, long double d, bool taoscope) {
  const long double sigma = !taoscope ? -1 : (i - k) % 2 == 0 ? 1 : -1;
  const long double S = taoscope ? 1 : -1;
  if (k <= 20) return sigma * s.A1 * (powl(d, s.B1 / d) - 1);
  const auto h = [d](long double p) {
    const long double u = 1.029L * d / p;
    return powl(u, 10 / u * (2.5L - powl(u, 20)));
  };
  const long double w = 9.45L * d, v = 0.09L * d;
  const long double inner = -S * powl(w, -powl(w, 19)) + 1.25e-12L * (powl(v, 75 / v) - 1);
  return k <= 40 ? sigma * s.A2 * (inner + h(s.B2) + h(s.C2) + h(s.D2))
                 : sigma * s.A3 * (inner + h(s.B3) + h(s.C3) + h(s.D3));
}

ParticleSet pairAt(int i, int k, Real d) {
  ParticleSet s = emptySet();
  s.A1 = 0.7L, s.B1 = 2.718L;
  s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
  s.A3 = 1.3L, s.B3 = 0.25L, s.C3 = 0.8L, s.D3 = 1.5L;
  put(s, k, 0, 0, 0);
  put(s, i, d, 0, 0);
  return s;
}

}  // namespace

// Each group's pairs of both parities in both modes, at distances where the
// short-range core, each shell and the long-range part dominate in turn.
TEST(Observables, PotentialOfEachGroupAndModeWhoseSlopeIsTheForce) {
  const struct {
    int i, k;
    Real d;
  } pairs[] = {{2, 1, 0.8L}, {3, 1, 1.6L}, {20, 7, 5},    {22, 21, 0.1L}, {23, 21, 0.29L}, {24, 21, 0.65L},
               {25, 21, 1}, {26, 21, 30}, {42, 41, 0.12L}, {43, 41, 0.24L}, {44, 41, 0.78L}, {45, 41, 1.45L},
               {47, 41, 20}};
  for (const bool taoscope : {false, true}) {
    ForceSwitches sw;
    sw.taoscope = taoscope;
    for (const auto& p : pairs) {
      SCOPED_TRACE(testing::Message() << p.i << "-" << p.k << " at " << double(p.d) << (taoscope ? " T" : " G"));
      const ParticleSet s = pairAt(p.i, p.k, p.d);
      const long double expected = expectedPotential(s, p.i, p.k, p.d, taoscope);
      const Real u = potentialEnergy(s, taoscope);
      EXPECT_NEAR(double(u), double(expected), 1e-13 * std::abs(double(expected)) + 1e-30);
      // The force on i, pushed away from k along +x, is -dU/dd.
      const Real h = p.d * 1e-6L;
      const Real slope = (pairPotential(s, p.i, p.k, p.d + h, taoscope) -
                          pairPotential(s, p.i, p.k, p.d - h, taoscope)) / (2 * h);
      const Real force = forceX(s, p.i, sw);
      EXPECT_NEAR(double(force), double(-slope), 1e-7 * std::abs(double(force)) + 1e-14);
      EXPECT_GT(std::abs(double(force)), 1e-6);  // a distance where the pair acts
    }
  }
  // Pairs of different groups add nothing; those of one group add up.
  ParticleSet s = pairAt(22, 21, 0.5L);
  const Real one = potentialEnergy(s, false);
  put(s, 5, 0.2L, 0.1L, 0);
  put(s, 45, 0, 0.3L, 0.1L);
  EXPECT_EQ(potentialEnergy(s, false), one);
  put(s, 30, 0.5L, 0.5L, 0);
  const Real three = pairPotential(s, 21, 22, 0.5L, false) + pairPotential(s, 21, 30, std::sqrt(0.5L), false) +
                     pairPotential(s, 22, 30, 0.5L, false);
  EXPECT_NEAR(double(potentialEnergy(s, false)), double(three), 1e-15);
}

TEST(Observables, ConservativeOnlyForOneGroupUnderReciprocalUndampedForces) {
  ParticleSet s = pairAt(22, 21, 0.5L);
  s.setPresent(20, false);
  StepControls c;
  const auto check = [&](int expected, const char* why) {
    const Observables o = observe(s, c);
    EXPECT_EQ(o.conservative, expected) << (why ? why : "");
    EXPECT_EQ(o.energy, o.kinetic + o.potential);
    const std::string text = notConservedText(observableColumn("energy"), o);
    EXPECT_EQ(text, why ? std::string("not conserved: ") + why : "");
  };
  check(1, nullptr);
  c.forces.peOut = c.forces.pes2Out = true;  // other groups' switches do not matter
  check(1, nullptr);
  c.forces.pes1Out = true;
  check(0, "the pull of PES1 is off");
  c = {};
  c.cool = true;
  check(0, "Cool is on");
  c = {};
  c.blockade = true;
  check(0, "Blockade is on");
  c = {};
  put(s, 60, 3, 3, 3);
  check(0, "particles of several groups are present");
  ParticleSet none = emptySet();
  EXPECT_EQ(observe(none, c).conservative, 1);

  // A conservative pair keeps its energy to the step's error, which shrinks
  // with dt, while it moves.
  for (const Real dt : {0.01L, 0.001L}) {
    ParticleSet run = pairAt(2, 1, 1.2L);
    run.Uy[1] = 0.3L;
    run.Dt = dt;
    for (int a : {0, 1}) run.X1[a] = run.X[a], run.Uy1[a] = run.Uy[a];
    const Real start = observe(run, c).energy;
    for (int n = 0; n < 2000; ++n) integrateStep(run, c);
    EXPECT_GT(std::abs(double(run.X[1] - 1.2L)), 1e-3);
    EXPECT_LT(std::abs(double((observe(run, c).energy - start) / start)), double(dt) * 0.5);
  }
}

TEST(Observables, SeriesKeepsAGapWhereStepsWentUnwatched) {
  ObservableSeries series(8);
  Observables o;
  for (int step = 0; step < 40; ++step) {
    o.step = step;
    if (series.wants(step)) series.record(o, true);
  }
  o.step = 100;  // steps 40 to 99 went by unwatched
  series.record(o, false);
  for (int step = 101; step < 300; ++step) {
    o.step = step;
    if (series.wants(step)) series.record(o, true);
  }
  const auto& samples = series.samples();
  int gaps = 0;
  for (std::size_t n = 1; n < samples.size(); ++n) {
    if (!series.joined(n)) {
      ++gaps;
      EXPECT_LE(samples[n - 1].step, 39);
      EXPECT_GE(samples[n].step, 100);
    }
  }
  EXPECT_EQ(gaps, 1);
  EXPECT_FALSE(series.joined(0));

  // Measuring less often keeps the spacing even and the gap where it was.
  series.raiseStride(series.stride() * 3);
  const std::int64_t stride = series.stride();
  EXPECT_EQ(stride & (stride - 1), 0);
  EXPECT_FALSE(series.wants(int(stride) * 9 + 1));
  gaps = 0;
  for (std::size_t n = 1; n < samples.size(); ++n) {
    if (n + 1 < samples.size()) {
      EXPECT_EQ(samples[n].step % stride, 0);
    }
    gaps += !series.joined(n);
  }
  EXPECT_EQ(gaps, 1);
}
