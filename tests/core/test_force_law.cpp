#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "dynamics/force_law.h"
#include "dynamics/xmath.h"
#include "files/set_file.h"
#include "reference_vectors.h"
#include "state/errors.h"

using namespace zentrova;

namespace {

ParticleSet emptySet() {
  ParticleSet s;
  s.Count = 60;
  s.A1 = 1, s.B1 = 2.718L;
  s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
  s.A3 = 1, s.B3 = 0.3L, s.C3 = 0.671L, s.D3 = 1.2L;
  return s;
}

void place(ParticleSet& s, int i, Real x, Real y = 0, Real z = 0) {
  s.X[i - 1] = x, s.Y[i - 1] = y, s.Z[i - 1] = z;
  s.setPresent(i, true);
}

std::string faultOf(const ParticleSet& s, int i, const ForceSwitches& sw = {}) {
  try {
    forceX(s, i, sw);
  } catch (const FpError& e) {
    return e.what();
  }
  return "no fault";
}

ForceSwitches taoscope() {
  ForceSwitches sw;
  sw.taoscope = true;
  return sw;
}

}  // namespace

TEST(ForceLaw, SignsFollowModeAndParity) {
  EXPECT_EQ(modeSign(true), 1);
  EXPECT_EQ(modeSign(false), -1);
  EXPECT_EQ(pairSign(1, 3, true), 1);
  EXPECT_EQ(pairSign(3, 1, true), 1);
  EXPECT_EQ(pairSign(1, 2, true), -1);
  EXPECT_EQ(pairSign(2, 1, true), -1);
  EXPECT_EQ(pairSign(1, 3, false), -1);
  EXPECT_EQ(power(2.0L, 10.0L), xmath::exp(10.0L * xmath::log(2.0L)));
}

TEST(ForceLaw, LoneParticleFeelsNothing) {
  ParticleSet s = emptySet();
  place(s, 7, 1.5L, -2, 3);
  EXPECT_EQ(forceX(s, 7, {}), 0.0L);
  EXPECT_FALSE(std::signbit(forceY(s, 7, {})));
  EXPECT_EQ(forceZ(s, 7, taoscope()), 0.0L);
}

TEST(ForceLaw, PeUnitDistanceIsExact) {
  ParticleSet s = emptySet();
  s.A1 = 1, s.B1 = 1;
  place(s, 1, 0);
  place(s, 2, 1);
  for (const ForceSwitches& sw : {ForceSwitches{}, taoscope()}) {
    EXPECT_EQ(forceX(s, 2, sw), 1.0L);
    EXPECT_EQ(forceY(s, 2, sw), 0.0L);
    EXPECT_EQ(forceZ(s, 2, sw), 0.0L);
  }
  ParticleSet t = emptySet();
  t.A1 = 1, t.B1 = 1;
  place(t, 1, 0);
  place(t, 3, 1);
  EXPECT_EQ(forceX(t, 3, taoscope()), -1.0L);
  EXPECT_EQ(forceX(t, 3, {}), 1.0L);
}

TEST(ForceLaw, ShellCoreAndLongRangeMagnitudes) {
  ParticleSet s = emptySet();
  place(s, 22, 0);
  place(s, 21, 0.1L);
  EXPECT_NEAR(forceX(s, 21, {}), 0.260439L, 5e-7L);
  EXPECT_NEAR(forceX(s, 21, taoscope()), -0.260439L, 5e-7L);
  EXPECT_NEAR(coreTerm(0.1L, -1), -0.260439L, 5e-7L);  // only e1 counts here

  s.X[20] = 1;
  EXPECT_NEAR(forceX(s, 21, {}), 0.426013L, 5e-7L);
  EXPECT_NEAR(shellTerm(1.2L, 1.0L), -0.426013L, 5e-7L);

  ParticleSet far = emptySet();
  place(far, 42, 0);
  place(far, 41, 30);
  EXPECT_NEAR(forceX(far, 41, {}), 0.00749899L, 5e-9L);
}

TEST(ForceLaw, SwitchedOffGroupStillFeelsForces) {
  ParticleSet s = emptySet();
  place(s, 1, 0);
  place(s, 21, 0.8L, 0.3L);
  ForceSwitches off;
  off.pes1Out = true;
  EXPECT_EQ(forceX(s, 1, off), 0.0L);
  EXPECT_EQ(forceY(s, 1, off), 0.0L);
  EXPECT_NE(forceX(s, 21, off), 0.0L);
  EXPECT_EQ(forceX(s, 21, off), forceX(s, 21, {}));
  EXPECT_NE(forceX(s, 1, {}), 0.0L);
  off.peOut = true;
  EXPECT_EQ(forceX(s, 21, off), 0.0L);
}

TEST(ForceLaw, PullFollowsTheSourceGroup) {
  ParticleSet s = emptySet();
  place(s, 5, 0);
  place(s, 25, 1);
  const int S = modeSign(false);
  const Real sigma = pairSign(5, 25, false);
  const Real G = ((coreTerm(1, S) + shellTerm(s.B2, 1)) + shellTerm(s.C2, 1)) + shellTerm(s.D2, 1);
  // 5 feels the PES1 law of 25, 25 the PE law of 5: not equal and opposite.
  EXPECT_EQ(forceX(s, 5, {}), ((sigma * -1) / 1 * s.A2) * G);
  EXPECT_EQ(forceX(s, 25, {}), sigma * peLaw(1, s.A1, s.B1));
  EXPECT_NE(forceX(s, 5, {}), -forceX(s, 25, {}));
}

TEST(ForceLaw, FaultsCarryTheirMessages) {
  {
    ParticleSet s = emptySet();
    place(s, 3, 1, 2, 3);
    place(s, 50, 1, 2, 3);
    EXPECT_EQ(faultOf(s, 3), kMsgDivByZero);
    // The log of 0 comes before any invalid operation of a negative shell.
    s.B2 = -0.3L;
    EXPECT_EQ(faultOf(s, 50), kMsgDivByZero);
  }
  {
    ParticleSet s = emptySet();
    place(s, 1, 0);
    place(s, 2, 4);
    s.B2 = -0.3L;
    EXPECT_EQ(faultOf(s, 1), kMsgInvalid);
    s.B2 = 0.3L, s.B3 = 0;
    ForceSwitches off;
    off.pes2Out = true;
    EXPECT_EQ(faultOf(s, 1, off), kMsgDivByZero);  // no PES2 particle present at all
  }
  {
    ParticleSet s = emptySet();
    s.B1 = -1;
    place(s, 1, 0);
    place(s, 2, 0.0001L);
    EXPECT_EQ(faultOf(s, 2), kMsgOverflow);
    ForceSwitches off;
    off.peOut = true;
    EXPECT_EQ(faultOf(s, 2, off), "no fault");
  }
}

// The law's exp and log fault where the processor's instructions do, and
// nowhere else: underflow and quiet NaNs pass silently.
TEST(ForceLaw, ExpAndLogFaultLikeTheProcessor) {
  auto flags = [](Real (*f)(Real), Real x, Real& y) {
    volatile Real v = x;
    std::feclearexcept(FE_ALL_EXCEPT);
    y = f(v);
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  };
  const Real nan = std::numeric_limits<Real>::quiet_NaN(), inf = std::numeric_limits<Real>::infinity();
  Real y;
  EXPECT_EQ(flags(xmath::log, 0.0L, y), FE_DIVBYZERO);
  EXPECT_EQ(y, -inf);
  EXPECT_EQ(flags(xmath::log, -0.0L, y), FE_DIVBYZERO);
  for (Real x : {-1.0L, -LDBL_TRUE_MIN, -inf}) {
    EXPECT_EQ(flags(xmath::log, x, y), FE_INVALID) << double(x);
    EXPECT_TRUE(std::isnan(y));
  }
  Real unnormal = 1;  // integer bit cleared: not a number the processor accepts
  reinterpret_cast<unsigned char*>(&unnormal)[7] = 0;
  EXPECT_EQ(flags(xmath::log, unnormal, y), FE_INVALID);
  EXPECT_EQ(flags(xmath::exp, unnormal, y), FE_INVALID);
  EXPECT_EQ(flags(xmath::log, nan, y), 0);
  EXPECT_EQ(flags(xmath::log, inf, y), 0);
  EXPECT_EQ(y, inf);
  EXPECT_EQ(flags(xmath::log, LDBL_TRUE_MIN, y), 0);
  EXPECT_NEAR(y, -11398.8053843083006L, 1e-11L);  // 2^-16445
  EXPECT_EQ(flags(xmath::log, 1.0L, y), 0);
  EXPECT_EQ(y, 0.0L);

  EXPECT_EQ(flags(xmath::exp, 11357.0L, y), FE_OVERFLOW);
  EXPECT_EQ(y, inf);
  EXPECT_EQ(flags(xmath::exp, xmath::tables::kExpOverflow, y), 0);
  EXPECT_GT(y, LDBL_MAX / 1.0001L);
  EXPECT_EQ(flags(xmath::exp, std::nextafter(xmath::tables::kExpOverflow, inf), y), FE_OVERFLOW);
  EXPECT_EQ(flags(xmath::exp, inf, y), 0);
  EXPECT_EQ(flags(xmath::exp, -inf, y), 0);
  EXPECT_EQ(y, 0.0L);
  EXPECT_EQ(flags(xmath::exp, -1e30L, y), 0);
  EXPECT_EQ(y, 0.0L);
  EXPECT_EQ(flags(xmath::exp, -11390.0L, y), 0);
  EXPECT_TRUE(y > 0 && y < LDBL_MIN);
  EXPECT_EQ(flags(xmath::exp, nan, y), 0);
  EXPECT_TRUE(std::isnan(y));
  EXPECT_EQ(flags(xmath::exp, 0.0L, y), 0);
  EXPECT_EQ(y, 1.0L);
}

namespace {

ParticleSet loadData(const std::string& name) {
  ParticleRecord record;
  readSetFile(std::string(ZENTROVA_TEST_DATA) + "/" + name, record);
  ParticleSet s;
  s.Count = 60;
  loadRecordIntoSet(record, s);
  return s;
}

void expectForcesMatch(const std::string& set, const std::string& expected, const ForceSwitches& sw) {
  const ParticleSet s = loadData(set);
  std::ifstream in(std::string(ZENTROVA_TEST_DATA) + "/" + expected);
  ASSERT_TRUE(in) << expected;
  std::string line;
  int lines = 0, present = 0;
  for (int i = 1; i <= 60; ++i) present += s.present(i);
  while (std::getline(in, line)) {
    std::istringstream words(line);
    int i;
    std::string fx, fy, fz;
    ASSERT_TRUE(words >> i >> fx >> fy >> fz) << line;
    ASSERT_TRUE(s.present(i)) << line;
    EXPECT_TRUE(zentrova::testing::closeToReference(forceX(s, i, sw), std::strtold(fx.c_str(), nullptr)))
        << expected << " particle " << i;
    EXPECT_TRUE(zentrova::testing::closeToReference(forceY(s, i, sw), std::strtold(fy.c_str(), nullptr)))
        << expected << " particle " << i;
    EXPECT_TRUE(zentrova::testing::closeToReference(forceZ(s, i, sw), std::strtold(fz.c_str(), nullptr)))
        << expected << " particle " << i;
    ++lines;
  }
  EXPECT_EQ(lines, present);
}

}  // namespace

TEST(ForceLaw, MatchesReferenceVectors) {
  expectForcesMatch("set-a.lis1", "set-a.forces.txt", {});
  expectForcesMatch("set-a.lis1", "set-a.forces-taoscope.txt", taoscope());
  ForceSwitches off;
  off.peOut = off.pes1Out = true;
  expectForcesMatch("set-b.lis1", "set-b.forces-pe-pes1-out.txt", off);
}
