// The measures of a set against values worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <clocale>
#include <cmath>
#include <limits>

#include "analysis/observable_series.h"
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
  const Observables o = observe(triangle());
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
}

TEST(Observables, FewParticlesTiesNaNAndFlags) {
  ParticleSet s = emptySet();
  Observables o = observe(s);
  EXPECT_EQ(o.kinetic, 0);
  EXPECT_EQ(o.radius, 0);
  EXPECT_TRUE(std::isinf(o.min_distance));
  EXPECT_EQ(o.min_i, 0);

  put(s, 5, 2, 2, 2, 0, 0, 3);
  o = observe(s);
  EXPECT_EQ(o.com_x, 2);
  EXPECT_EQ(o.radius, 0);
  EXPECT_EQ(o.kinetic, 4.5L);
  EXPECT_TRUE(std::isinf(o.min_distance));
  EXPECT_EQ(o.min_k, 0);

  // Two pairs at distance 1: the first in order is named.
  put(s, 7, 3, 2, 2);
  put(s, 9, 2, 3, 2);
  o = observe(s);
  EXPECT_EQ(o.min_distance, 1);
  EXPECT_EQ(o.min_i, 5);
  EXPECT_EQ(o.min_k, 7);

  // A NaN position makes the distance NaN, wherever its pair comes in order.
  for (int bad : {5, 9}) {
    ParticleSet n = s;
    n.X[bad - 1] = std::numeric_limits<Real>::quiet_NaN();
    EXPECT_TRUE(std::isnan(observe(n).min_distance)) << bad;
  }

  // Overflowing sums come out infinite, and the caller's fault flags are as
  // they were: nothing raised, nothing cleared.
  put(s, 11, 0, 0, 0, 1e4000L, 0, 0);
  std::feclearexcept(FE_ALL_EXCEPT);
  std::feraiseexcept(FE_INEXACT);
  o = observe(s);
  EXPECT_TRUE(std::isinf(o.kinetic));
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), FE_INEXACT);
  std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(Observables, CsvHeaderAndRowOf21Digits) {
  EXPECT_STREQ(observablesCsvHeader(),
               "step,time,kinetic,kinetic_pe,kinetic_pes1,kinetic_pes2,com_x,com_y,com_z,radius,min_distance,min_i,min_k");
  ParticleSet s = triangle();
  s.Time = 1;
  const std::string row = observablesCsvRow(observe(s));
  EXPECT_EQ(row.substr(0, row.find(",2.357")),
            "1,0.100000000000000000001,4,0.5,2,1.5,1,1.33333333333333333337,0");
  EXPECT_EQ(row.substr(row.rfind(",3,")), ",3,1,21");
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
  const std::string row = observablesCsvRow(observe(s));
  const std::string json = machineReal(1234567.25L) + " " + machineReal(-0.5L) + " " + machineReal(0x1p-14L);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(std::count(row.begin(), row.end(), ','), 12) << comma << ": " << row;
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
