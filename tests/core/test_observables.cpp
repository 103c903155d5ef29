// The measures of a set against values worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <clocale>
#include <cmath>
#include <limits>
#include <vector>
#include <string>
#include <sstream>
#include <iterator>
#include <fstream>

#include "analysis/conservation.h"
#include "analysis/observable_series.h"
#include "analysis/observable_table.h"
#include "analysis/rdf.h"
#include "analysis/work_meter.h"
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
  EXPECT_EQ(o.momentum_conserved, 0);
  // About the mean velocity (2/3, 1, 1/3) the kinetic energy is 5/3.
  EXPECT_NEAR(double(o.temperature), 10.0 / 27, 1e-18);
  EXPECT_EQ(o.step_max, 2 * 0.1L);  // particle 21, |u| = 2
  EXPECT_TRUE(std::isnan(o.force_max));  // B2 = 0: the law itself would fault
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
               "potential,energy,conservative,momentum_x,momentum_y,momentum_z,angular_x,angular_y,angular_z,present,"
               "potential_pe,potential_pes1,potential_pes2,work,momentum_conserved,temperature,force_max,step_max");
  ParticleSet s = triangle();
  s.Time = 1;
  const std::string row = observablesCsvRow(observe(s, {}));
  EXPECT_EQ(row.substr(0, row.find(",2.357")),
            "1,0.100000000000000000001,4,0.5,2,1.5,1,1.33333333333333333337,0");
  EXPECT_EQ(row.substr(row.find(",3,1,21,")),
            ",3,1,21,0,4,0,2,3,1,4,0,2,3,0,0,0,0,0,0.370370370370370370383,nan,0.200000000000000000003");
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
  EXPECT_EQ(std::count(row.begin(), row.end(), ','), 30) << comma << ": " << row;
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
      // The group's own share, and the largest force as the law gives it.
      StepControls c;
      c.forces = sw;
      const Observables o = observe(s, c);
      const Real own[3] = {o.potential_pe, o.potential_pes1, o.potential_pes2};
      for (int g = 0; g < 3; ++g) EXPECT_EQ(own[g], g == (p.k - 1) / 20 ? u : 0) << g;
      Real largest = 0;
      for (int n : {p.i, p.k})
        largest = std::max(largest, std::hypot(forceX(s, n, sw), forceY(s, n, sw), forceZ(s, n, sw)));
      EXPECT_NEAR(double(o.force_max), double(largest), 1e-15 * double(largest));
    }
  }
  // Particles of different groups: each pull is the source's law, unlike its
  // reaction; the largest is the larger of the two.
  {
    ParticleSet s = pairAt(22, 21, 0.5L);
    put(s, 5, 0.2L, 0.4L, 0.1L);
    put(s, 45, 0.1L, 0.3L, 0.6L);
    StepControls c;
    Real largest = 0;
    for (int n : {5, 21, 22, 45})
      largest = std::max(largest, std::hypot(forceX(s, n, c.forces), forceY(s, n, c.forces), forceZ(s, n, c.forces)));
    EXPECT_NEAR(double(observe(s, c).force_max), double(largest), 1e-15 * double(largest));
    c.blockade = true;  // held particles do not count, absent ones neither
    put(s, 20, 0.5L, 0.1L, 0.3L);
    largest = 0;
    for (int n : {5, 21, 22, 45})
      largest = std::max(largest, std::hypot(forceX(s, n, c.forces), forceY(s, n, c.forces), forceZ(s, n, c.forces)));
    EXPECT_NEAR(double(observe(s, c).force_max), double(largest), 1e-15 * double(largest));
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

TEST(Observables, ConservationJudgedPerQuantityByWhatActsOnThePresentParticles) {
  ParticleSet s = pairAt(22, 21, 0.5L);
  StepControls c;
  const auto check = [&](int energy, int momentum, std::vector<std::string> why) {
    const Observables o = observe(s, c);
    EXPECT_EQ(o.conservative, energy);
    EXPECT_EQ(o.momentum_conserved, momentum);
    EXPECT_EQ(conservationReasonTexts(o.reasons), why);
    EXPECT_EQ(o.energy, o.kinetic + o.potential);
    const std::string text = notConservedText(observableColumn("energy"), o);
    EXPECT_EQ(text, energy ? "" : "not conserved: " + why.front());
  };
  check(1, 1, {});
  c.forces.peOut = c.forces.pes2Out = true;  // groups that are absent do not matter
  check(1, 1, {});
  c.forces.pes1Out = true;
  check(0, 1, {"the pull of PES1 is off"});
  c = {};
  c.cool = true;
  check(0, 0, {"Cool is on"});
  c = {};
  c.blockade = true;  // 20, 40 and 60 are absent: nothing is held
  check(1, 1, {});
  put(s, 40, 0.5L, 0.5L, 0);  // held, a fixed source of PES1's own law
  check(1, 0, {"Blockade holds a particle that pulls others"});
  c.forces.pes1Out = true;
  check(0, 1, {"the pull of PES1 is off"});
  s.setPresent(40, false);
  c = {};
  put(s, 60, 3, 3, 3);
  check(0, 0, {"particles of several groups pull each other"});
  c.cool = true;
  check(0, 0, {"Cool is on", "particles of several groups pull each other"});
  ParticleSet none = emptySet();
  EXPECT_EQ(observe(none, c).conservative, 1);

  // A conservative pair keeps its energy to the step's error, which shrinks
  // with dt, while it moves; so does a PE pair beside a held PE particle,
  // whose momentum changes.
  c = {};
  for (const bool held : {false, true}) {
    c.blockade = held;
    for (const Real dt : {0.01L, 0.001L}) {
      ParticleSet run = pairAt(2, 1, 1.2L);
      if (held) put(run, 20, 0.6L, 1.1L, 0);
      run.Uy[1] = 0.3L;
      run.Dt = dt;
      run.X1 = run.X, run.Y1 = run.Y, run.Uy1 = run.Uy;
      const Observables start = observe(run, c);
      EXPECT_EQ(start.momentum_conserved, held ? 0 : 1);
      for (int n = 0; n < 2000; ++n) integrateStep(run, c);
      const Observables end = observe(run, c);
      EXPECT_GT(std::abs(double(run.X[1] - 1.2L)), 1e-3);
      EXPECT_LT(std::abs(double((end.energy - start.energy) / start.energy)), double(dt) * 0.5);
      if (held) {
        EXPECT_GT(std::abs(double(end.momentum_x - start.momentum_x)), 1e-3);
      }
    }
  }
}

// The work against its definition, with the forces from the law itself: F′
// is the applied force less the pull of the particle's own group, and Cool's
// damping (γ − 1)·u/dt counts as a force no potential accounts for.
TEST(Observables, WorkSumsTheForcesNoPotentialAccountsFor) {
  ParticleSet s = pairAt(21, 2, 0.7L);
  put(s, 1, 0.3L, 0.5L, 0.1L, 0.1L);
  put(s, 41, -0.4L, 0.2L, 0.3L);
  put(s, 60, 0.1L, -0.5L, 0.2L);
  s.Dt = 0.001L;
  s.X1 = s.X, s.Y1 = s.Y, s.Z1 = s.Z, s.Ux1 = s.Ux, s.Uy1 = s.Uy, s.Uz1 = s.Uz;
  StepControls none, cool, peOut, held;
  cool.cool = true;
  peOut.forces.peOut = true;
  held.blockade = true;
  for (const StepControls& c : {none, cool, peOut, held}) {
    ParticleSet run = s;
    WorkMeter meter;
    meter.start(run, c);
    Real expected = 0;
    for (int n = 0; n < 30; ++n) {
      ParticleSet before = run;
      integrateStep(run, c);
      meter.afterStep(run, c);
      for (int i : {1, 2, 21, 41, 60}) {
        if (isHeld(i, c.blockade)) continue;
        ForceSwitches own;  // only i's own group pulls, whatever the switches
        own.peOut = i > 20, own.pes1Out = i <= 20 || i > 40, own.pes2Out = i <= 40;
        const int a = i - 1;
        const Real u[3] = {before.Ux[a], before.Uy[a], before.Uz[a]}, v[3] = {run.Ux[a], run.Uy[a], run.Uz[a]};
        for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
          const int x = static_cast<int>(axis);
          const Real f = forceComponent(before, i, axis, c.forces) - forceComponent(before, i, axis, own) +
                         (coolingFactor(c.cool) - 1) * u[x] / before.Dt;
          expected += f * (u[x] + v[x]) / 2 * before.Dt;
        }
      }
      ASSERT_NEAR(double(meter.work()), double(expected), 1e-12 * std::abs(double(expected)) + 1e-18) << n;
    }
    EXPECT_GT(std::abs(double(expected)), 1e-6);
  }
  EXPECT_EQ(observe(s, none).work, 0);  // a set on its own has done no work
}

TEST(Observables, RadialDistributionCountsEveryPairOnceInItsBin) {
  ParticleSet s = emptySet();
  std::uint32_t seed = 7;
  const auto next = [&] { return (seed = seed * 1103515245u + 12345u) / 4294967296.0L * 2 - 1; };
  for (int i = 1; i <= 60; ++i)
    if (i % 3 != 0) put(s, i, next(), next(), next());
  const int bins = 7;
  const Real range = 2.5L;
  RadialDistribution rdf(bins, range, {parseGroupPair("PES1-PE"), parseGroupPair("PES2-PES2")});
  rdf.add(s);
  rdf.add(s);
  EXPECT_EQ(groupPairName(rdf.pairs()[0]), "PE-PES1");
  // Brute force over ordered pairs, each unordered pair seen twice.
  std::uint64_t counts[2][bins] = {};
  for (int i = 1; i <= 60; ++i)
    for (int k = 1; k <= 60; ++k) {
      if (i == k || !s.present(i) || !s.present(k)) continue;
      const long double d = std::sqrt(std::pow(s.X[i - 1] - s.X[k - 1], 2) + std::pow(s.Y[i - 1] - s.Y[k - 1], 2) +
                                      std::pow(s.Z[i - 1] - s.Z[k - 1], 2));
      const int gi = (i - 1) / 20, gk = (k - 1) / 20;
      const int p = (gi == 0 && gk == 1) || (gi == 1 && gk == 0) ? 0 : gi == 2 && gk == 2 ? 1 : -1;
      if (p >= 0 && d <= range) ++counts[p][std::min(bins - 1, int(d / range * bins))];
    }
  const long double pairs[2] = {14.0L * 13, 13.0L * 12 / 2};  // 14 of PE, 13 of PES1 and PES2 present
  for (int p = 0; p < 2; ++p)
    for (int b = 0; b < bins; ++b) {
      EXPECT_EQ(rdf.count(p, b), counts[p][b]) << p << " " << b;  // two frames: each pair twice
      const long double shell = (std::pow(b + 1.0L, 3) - std::pow(b + 0.0L, 3)) / (bins * bins * bins);
      EXPECT_NEAR(double(rdf.g(p, b)), double(counts[p][b] / (2 * pairs[p] * shell)), 1e-15) << p << " " << b;
    }
  EXPECT_THROW(parseGroupPair("PE-PES3"), std::invalid_argument);
  EXPECT_THROW(parseGroupPair("PE"), std::invalid_argument);
  EXPECT_EQ(rdf.csv().substr(0, 40), "pair,r_low,r_high,count,g\nPE-PES1,0,0.35");
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

namespace {

std::string sourceFile(const std::string& relative) {
  std::ifstream in(std::string(ZENTROVA_EXAMPLES) + "/../" + relative, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The text between two markers, from the first `from` on.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const auto a = text.find(from);
  if (a == std::string::npos) return {};
  const auto b = text.find(to, a + from.size());
  return text.substr(a + from.size(), b == std::string::npos ? std::string::npos : b - a - from.size());
}

}  // namespace

// Three hand-kept lists repeat the observables: the Python stub, the manual
// page and the README. Each must name every column, in the table's order
// where it lists them.
TEST(Observables, TableAgreesWithTheStubTheManualPageAndTheReadme) {
  std::vector<std::string> names;
  for (const ObservableColumn& c : observableTable()) names.push_back(c.name);

  std::vector<std::string> stub;
  std::istringstream fields(between(sourceFile("python/zentrova.pyi"), "class Observables(TypedDict):\n", "\n\n"));
  for (std::string line; std::getline(fields, line);)
    if (line.rfind("    ", 0) == 0 && line[4] != '#') stub.push_back(line.substr(4, line.find(':') - 4));
  std::vector<std::string> expected = names;
  expected.push_back("reasons");  // beside the numbers: why energy or momentum may change
  EXPECT_EQ(stub, expected);

  const std::string man = sourceFile("man/zentrova-sim.1");
  std::string header = "step,time," + between(man, "\n.EX\nstep,time,", "\n.EE");
  header.erase(std::remove(header.begin(), header.end(), '\n'), header.end());
  EXPECT_EQ(header, observablesCsvHeader());
  const std::string described = between(man, ".SH OBSERVABLES", ".SH ");
  const std::string readme = sourceFile("README.md");
  EXPECT_NE(readme.find(std::string("header `") + observablesCsvHeader() + "`"), std::string::npos);
  const std::string table = between(readme, "## Observables", "\n## ");
  for (const std::string& n : names) {
    EXPECT_TRUE(described.find(".B " + n + "\n") != std::string::npos ||
                described.find(".BR " + n + " ") != std::string::npos ||
                described.find(" " + n + " \"") != std::string::npos ||
                described.find("\" " + n + "\n") != std::string::npos)
        << n << " is not described in the manual page";
    EXPECT_NE(table.find("`" + n + "`"), std::string::npos) << n << " is not in the README's table";
  }
}
