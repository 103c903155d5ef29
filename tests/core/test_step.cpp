#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "analysis/observables.h"
#include "dynamics/bench_set.h"
#include "dynamics/force_law.h"
#include "dynamics/step.h"
#include "dynamics/zero_bounds.h"
#include "files/set_file.h"
#include "reference_vectors.h"
#include "state/errors.h"
#include "state/extended.h"
#include "state/particle_record.h"

using namespace zentrova;

namespace {

ParticleSet emptySet() {
  ParticleSet s;
  s.Count = 60;
  s.Dt = 1;
  s.A1 = 1, s.B1 = 2.718L;
  s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
  s.A3 = 1, s.B3 = 0.3L, s.C3 = 0.671L, s.D3 = 1.2L;
  return s;
}

// A present particle with its step buffer and drawing position in line.
void place(ParticleSet& s, int i, Real x, Real y = 0, Real z = 0, Real ux = 0) {
  const int a = i - 1;
  s.X[a] = s.X1[a] = s.DrawX[a] = x;
  s.Y[a] = s.Y1[a] = s.DrawY[a] = y;
  s.Z[a] = s.Z1[a] = s.DrawZ[a] = z;
  s.Ux[a] = s.Ux1[a] = ux;
  s.setPresent(i, true);
}

bool sameBits(Real a, Real b) {
  std::uint8_t x[kExtendedBytes], y[kExtendedBytes];
  encodeExtended(a, x);
  encodeExtended(b, y);
  return std::memcmp(x, y, sizeof x) == 0;
}

// Every array a step may touch, compared bit for bit.
void expectSameState(const ParticleSet& a, const ParticleSet& b, const std::string& what) {
  const RealSlots ParticleSet::*arrays[] = {&ParticleSet::X,     &ParticleSet::Y,     &ParticleSet::Z,
                                            &ParticleSet::Ux,    &ParticleSet::Uy,    &ParticleSet::Uz,
                                            &ParticleSet::X1,    &ParticleSet::Y1,    &ParticleSet::Z1,
                                            &ParticleSet::Ux1,   &ParticleSet::Uy1,   &ParticleSet::Uz1,
                                            &ParticleSet::DrawX, &ParticleSet::DrawY, &ParticleSet::DrawZ};
  int differences = 0;
  for (auto m : arrays)
    for (int n = 0; n < kMaxParticles; ++n)
      if (!sameBits((a.*m)[n], (b.*m)[n])) ++differences;
  EXPECT_EQ(differences, 0) << what;
}

using StepFn = void (*)(ParticleSet&, const StepControls&);
FastStepper& twoThreads() {
  static FastStepper stepper(2);
  return stepper;
}
void fastStep(ParticleSet& s, const StepControls& c) { twoThreads().step(s, c); }

class BothSteps : public ::testing::TestWithParam<StepFn> {};

std::string faultOfStep(StepFn step, ParticleSet& s, const StepControls& c = {}) {
  try {
    step(s, c);
  } catch (const FpError& e) {
    return e.what();
  }
  return "no fault";
}

}  // namespace

TEST_P(BothSteps, SingleParticleDrifts) {
  ParticleSet s = emptySet();
  place(s, 1, 0, 0, 0, 1);
  for (int n = 1; n <= 5; ++n) GetParam()(s, {});
  EXPECT_EQ(s.X[0], 5.0L);
  EXPECT_EQ(s.Ux[0], 1.0L);
  EXPECT_EQ(s.DrawX[0], 5.0L);

  ParticleSet c = emptySet();
  place(c, 1, 0, 0, 0, 1);
  StepControls cool;
  cool.cool = true;
  GetParam()(c, cool);
  EXPECT_EQ(c.Ux[0], 0.99L);
  EXPECT_EQ(c.X[0], 0.99L);
  GetParam()(c, cool);
  EXPECT_NEAR(c.Ux[0], 0.9801L, 1e-18L);
  EXPECT_NEAR(c.X[0], 1.9701L, 1e-18L);
  EXPECT_EQ(c.Ux[0], 0.99L * 0.99L);
}

TEST_P(BothSteps, ZeroDtKeepsPositions) {
  ParticleSet s = emptySet();
  s.Dt = 0;
  place(s, 3, 0.2L, 0, 0, 0.5L);
  place(s, 30, 0.9L, 0.1L);
  StepControls cool;
  cool.cool = true;
  GetParam()(s, cool);
  GetParam()(s, cool);
  EXPECT_EQ(s.X[2], 0.2L);
  EXPECT_EQ(s.X[29], 0.9L);
  EXPECT_EQ(s.Ux[2], 0.99L * (0.99L * 0.5L));
}

TEST_P(BothSteps, BlockadeHoldsButHeldParticlesStillPull) {
  ParticleSet s = emptySet();
  place(s, 19, 0);
  place(s, 20, 0.8L, 0, 0, 0.25L);
  place(s, 40, 0, 0.9L);
  StepControls held;
  held.blockade = true;
  GetParam()(s, held);
  EXPECT_EQ(s.X[19], 0.8L);
  EXPECT_EQ(s.Ux[19], 0.25L);
  EXPECT_EQ(s.Y[39], 0.9L);
  EXPECT_NE(s.X[18], 0.0L);
  EXPECT_NE(s.Y[18], 0.0L);
  // Unticked, 20 moves on with the velocity it kept.
  GetParam()(s, {});
  EXPECT_NE(s.X[19], 0.8L);
}

TEST_P(BothSteps, AbsentParticlesAreUntouched) {
  ParticleSet s = emptySet();
  place(s, 1, 0);
  place(s, 2, 0.7L);
  place(s, 3, 0.3L, 0.4L);
  s.setPresent(3, false);
  s.X1[2] = 17, s.DrawX[2] = -4, s.Ux1[2] = 9;  // deliberately out of line
  GetParam()(s, {});
  EXPECT_EQ(s.X[2], 0.3L);
  EXPECT_EQ(s.X1[2], 17.0L);
  EXPECT_EQ(s.DrawX[2], -4.0L);
  EXPECT_EQ(s.Ux1[2], 9.0L);
  // Absent 3 exerted nothing: 1 and 2 feel only each other.
  EXPECT_EQ(s.Ux[0], -s.Ux[1]);
}

TEST_P(BothSteps, FaultLeavesTheLaterParticlesAndTheCommitUndone) {
  ParticleSet s = emptySet();
  place(s, 1, -1, 0.2L);
  place(s, 2, 1, -0.3L);
  place(s, 5, 0.5L, 0.5L);
  place(s, 6, 0.5L, 0.5L);
  place(s, 9, 0, 1.1L);
  const ParticleSet before = s;
  EXPECT_EQ(faultOfStep(GetParam(), s), kMsgDivByZero);
  // 1 and 2 took their part of the failed step; 5 failed; 9 never ran.
  EXPECT_NE(s.Ux1[0], before.Ux1[0]);
  EXPECT_NE(s.X1[1], before.X1[1]);
  EXPECT_EQ(s.Ux1[4], before.Ux1[4]);
  EXPECT_EQ(s.X1[8], before.X1[8]);
  EXPECT_EQ(s.X, before.X);
  EXPECT_EQ(s.Ux, before.Ux);
  EXPECT_EQ(s.DrawX, before.DrawX);
  // Both held: the pair is never evaluated.
  ParticleSet h = before;
  h.X[19] = h.X[39] = 3, h.setPresent(20, true), h.setPresent(40, true);
  h.setPresent(5, false), h.setPresent(6, false);
  StepControls held;
  held.blockade = true;
  EXPECT_EQ(faultOfStep(GetParam(), h, held), "no fault");
}

TEST_P(BothSteps, FaultInTheVelocityUpdateStopsAtThatComponent) {
  ParticleSet s = emptySet();
  s.Dt = 1e4000L;
  place(s, 1, 0);
  place(s, 2, 0.9L, 0.4L);
  const ParticleSet before = s;
  EXPECT_EQ(faultOfStep(GetParam(), s), kMsgOverflow);
  // u(x) of 1 took its new value; its x, y and particle 2 were not reached.
  EXPECT_NE(s.Ux1[0], before.Ux1[0]);
  EXPECT_EQ(s.X1[0], before.X1[0]);
  EXPECT_EQ(s.Uy1[0], before.Uy1[0]);
  EXPECT_EQ(s.Ux1[1], before.Ux1[1]);
  EXPECT_EQ(s.X, before.X);
}

INSTANTIATE_TEST_SUITE_P(Step, BothSteps, ::testing::Values(&stepReference, &fastStep, &integrateStep));

namespace {

ParticleSet loadData(const std::string& name, ParticleRecord& record) {
  readSetFile(std::string(ZENTROVA_TEST_DATA) + "/" + name, record);
  ParticleSet s;
  s.Count = 60;
  loadRecordIntoSet(record, s);
  return s;
}

void expectAfter10(StepFn step, const std::string& in, const std::string& expected, const StepControls& c) {
  ParticleRecord record, want;
  ParticleSet s = loadData(in, record);
  for (int n = 0; n < 10; ++n) step(s, c);
  snapshotSetIntoRecord(s, record);
  readSetFile(std::string(ZENTROVA_TEST_DATA) + "/" + expected, want);
  EXPECT_TRUE(zentrova::testing::recordsClose(record, want)) << expected;
}

}  // namespace

TEST_P(BothSteps, MatchesReferenceRuns) {
  expectAfter10(GetParam(), "set-a.lis1", "set-a.after10.lis1", {});
  StepControls b;
  b.cool = b.blockade = true;
  expectAfter10(GetParam(), "set-b.lis1", "set-b.after10-cool-blockade.lis1", b);
  StepControls c;
  c.forces.taoscope = c.forces.pes2Out = true;
  expectAfter10(GetParam(), "set-c.lis1", "set-c.after10-taoscope-pes2-out.lis1", c);
}

TEST(Step, FaultVectorsAgreeBetweenImplementations) {
  const std::pair<const char*, const char*> cases[] = {{"fault-coincident.lis1", kMsgDivByZero},
                                                       {"fault-negative-b2.lis1", kMsgInvalid},
                                                       {"fault-overflow.lis1", kMsgOverflow}};
  for (const auto& [file, message] : cases) {
    ParticleRecord record;
    ParticleSet ref = loadData(file, record);
    ParticleSet fast = ref;
    EXPECT_EQ(faultOfStep(&stepReference, ref), message) << file;
    EXPECT_EQ(faultOfStep(&fastStep, fast), message) << file;
    expectSameState(ref, fast, file);
  }
}

TEST(Step, HeadlessRunCountsCompletedSteps) {
  ParticleSet s = emptySet();
  place(s, 1, 0, 0, 0, 1);
  s.Time = 4;
  int calls = 0;
  runStepsHeadless(s, {}, 3, false, [&](int n) { EXPECT_EQ(n, 4 + ++calls); });
  EXPECT_EQ(s.Time, 7);
  place(s, 2, s.X[0], s.Y[0], s.Z[0]);
  EXPECT_THROW(runStepsHeadless(s, {}, 3, true), FpError);
  EXPECT_EQ(s.Time, 7);
}

// Random clusters with every kind of presence byte, under every combination
// of the six switches: the fast step must agree with the literal one to the
// last bit, one thread or two.
TEST(Step, FastIsBitIdenticalToReference) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> coord(-1.2, 1.2), vel(-0.3, 0.3), param(0.25, 1.4);
  FastStepper one(1);
  const std::uint8_t presence[] = {1, 2, 5, 255};
  for (int trial = 0; trial < 2; ++trial) {
    ParticleSet base = emptySet();
    base.Dt = 0.002L;
    base.B1 = trial ? 2.718L : -0.5L;
    base.A2 = param(rng), base.B2 = param(rng), base.C2 = param(rng);
    base.A3 = -param(rng), base.D3 = param(rng);
    if (trial) base.B3 = base.B2, base.D2 = base.D3;  // shells shared between the groups
    int placed = 0;
    for (int i = 1; i <= 60 && placed < 18; ++i) {
      if (i % 20 != 0 && rng() % 3 != 0) continue;  // keep 20, 40, 60 for Blockade
      place(base, i, coord(rng), coord(rng), coord(rng), vel(rng));
      base.Present[i - 1] = presence[rng() % 4];
      ++placed;
    }
    for (int mask = 0; mask < 64; ++mask) {
      StepControls c;
      c.forces.taoscope = mask & 1, c.forces.peOut = mask & 2, c.forces.pes1Out = mask & 4;
      c.forces.pes2Out = mask & 8, c.cool = mask & 16, c.blockade = mask & 32;
      ParticleSet ref = base, fast = base, single = base;
      for (int n = 0; n < 2; ++n) {
        stepReference(ref, c);
        fastStep(fast, c);
        one.step(single, c);
      }
      const std::string what = "trial " + std::to_string(trial) + " switches " + std::to_string(mask);
      expectSameState(ref, fast, what);
      expectSameState(ref, single, what);
    }
  }
}

namespace {

// One step of 21 at the origin and 22 at distance d along x (both PES1, so
// the core term and every shell term enter the force), by both steps, in both
// modes.
void expectPairAgrees(const ParticleSet& base, Real d, const std::string& what) {
  for (const bool taoscope : {false, true}) {
    ParticleSet ref = base;
    place(ref, 21, 0);
    place(ref, 22, d);
    ParticleSet fast = ref;
    StepControls c;
    c.forces.taoscope = taoscope;
    const std::string fault = faultOfStep(&stepReference, ref, c);
    EXPECT_EQ(faultOfStep(&fastStep, fast, c), fault) << what;
    expectSameState(ref, fast, what + (taoscope ? " taoscope" : ""));
  }
}

ParticleSet shellSet(Real p) {
  ParticleSet s = emptySet();
  s.B2 = s.C2 = s.D2 = s.B3 = s.C3 = s.D3 = p;
  return s;
}

bool subnormal(Real x) { return std::fpclassify(x) == FP_SUBNORMAL; }

// Distances around the one where scale * d reaches `bound`: a few units in
// the last place either side, checked to fall on both sides of it.
std::vector<Real> around(Real bound, Real scale) {
  std::vector<Real> ds;
  Real d = bound / scale;
  for (int k = 0; k < 4; ++k) d = std::nextafter(d, Real(0));
  bool below = false, above = false;
  for (int k = 0; k < 9; ++k, d = std::nextafter(d, std::numeric_limits<Real>::infinity())) {
    ds.push_back(d);
    (scale * d < bound ? below : above) = true;
  }
  EXPECT_TRUE(below && above) << double(bound);
  return ds;
}

}  // namespace

// Where a term is an exact zero the fast step takes it without evaluating it.
// Each window below keeps every other term of the pair an exact zero, so the
// term under test is the whole force: distances a few ulps either side of
// each bound, and a scan through the true edge of the range, where the term
// is a denormal.
TEST(Step, FastAgreesAcrossEveryExactZeroBound) {
  using namespace zeros;
  // Shells far out: with p = 1.029/8, u = 8 d exactly.
  const Real pFar = 1.029L / 8;
  int denormals = 0;
  for (Real d : around(kShellFarU, 8)) expectPairAgrees(shellSet(pFar), d, "shell far");
  for (int n = 0; n <= 300; ++n) {
    const Real d = (1.5160L + n * 4e-6L) / 8;
    denormals += subnormal(shellTerm(pFar, d));
    expectPairAgrees(shellSet(pFar), d, "shell far scan");
  }
  EXPECT_GT(denormals, 0);

  // Shells close in: p = 25, u = 0.04116 d.
  const Real c1 = 1.029L / 25;
  denormals = 0;
  for (Real d : around(kShellNearU, c1)) expectPairAgrees(shellSet(25), d, "shell near");
  for (int n = 0; n <= 300; ++n) {
    const Real d = (0.010060L + n * 2e-7L) / c1;
    denormals += subnormal(shellTerm(25, d));
    expectPairAgrees(shellSet(25), d, "shell near scan");
  }
  EXPECT_GT(denormals, 0);

  // The long-range core term close in, and the short-range one far out, with
  // every shell beyond its far bound.
  const ParticleSet quietShells = shellSet(1.029L / 16);
  denormals = 0;
  for (Real d : around(kLongNearV, 0.09L)) expectPairAgrees(quietShells, d, "long range");
  for (int n = 0; n <= 300; ++n) {
    const Real d = (0.024400L + n * 4e-7L) / 0.09L;
    denormals += subnormal(coreTerm(d, -1));
    expectPairAgrees(quietShells, d, "long range scan");
  }
  EXPECT_GT(denormals, 0);
  for (Real d : around(kCoreFarW, 9.45L)) expectPairAgrees(quietShells, d, "short range");
  denormals = 0;
  for (int n = 0; n <= 300; ++n) {
    const Real d = (1.6860L + n * 2e-5L) / 9.45L;
    denormals += subnormal(coreTerm(d, -1));
    expectPairAgrees(quietShells, d, "short range scan");
  }
  EXPECT_GT(denormals, 0);

  // Terms that no contribution reads (a pair of two PE particles) are still
  // evaluated where they can fault: here u^20 overflows.
  for (const Real d : {Real(1e40L), Real(1e250L)}) {
    ParticleSet ref = emptySet();
    place(ref, 1, 0);
    place(ref, 2, d);
    ParticleSet fast = ref;
    const std::string fault = faultOfStep(&stepReference, ref);
    EXPECT_EQ(fault, d > 1e100L ? kMsgOverflow : "no fault");
    EXPECT_EQ(faultOfStep(&fastStep, fast), fault);
    expectSameState(ref, fast, "unread terms");
  }
}

// Random clusters whose pair distances and shell parameters spread across
// every bound at once, groups mixed, by one thread and by two.
TEST(Step, FastAgreesOnSetsStraddlingTheZeroBounds) {
  std::mt19937_64 rng(31);
  std::uniform_real_distribution<double> coord(0, 0.22), far(0.1, 0.2), near(20, 30), vel(-0.1, 0.1);
  static FastStepper one(1);
  for (int trial = 0; trial < 6; ++trial) {
    ParticleSet base = emptySet();
    base.Dt = 0.001L;
    base.B2 = far(rng), base.C2 = near(rng), base.D2 = far(rng);
    base.B3 = near(rng), base.C3 = far(rng), base.D3 = trial % 2 ? base.B2 : near(rng);
    for (int i = 1; i <= 60; i += 1 + int(rng() % 5))
      place(base, i, coord(rng), coord(rng), coord(rng), vel(rng));
    StepControls c;
    c.forces.taoscope = trial % 3 == 0, c.forces.pes2Out = trial == 4;
    ParticleSet ref = base, fast = base, single = base;
    for (int n = 0; n < 2; ++n) {
      const std::string fault = faultOfStep(&stepReference, ref, c);
      EXPECT_EQ(faultOfStep(&fastStep, fast, c), fault);
      EXPECT_EQ(faultOfStep([](ParticleSet& s, const StepControls& sc) { one.step(s, sc); }, single, c), fault);
    }
    expectSameState(ref, fast, "trial " + std::to_string(trial));
    expectSameState(ref, single, "trial " + std::to_string(trial) + " one thread");
  }
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENTROVA_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZENTROVA_ASAN 1
#endif

// With no address space left for a thread's stack the pool runs with the
// threads it has, and the step still agrees with the literal one.
TEST(Step, PoolRunsWithTheThreadsItCouldCreate) {
#ifdef ZENTROVA_ASAN
  GTEST_SKIP() << "the sanitizer's shadow memory needs the address space this test takes away";
#else
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
      std::fclose(f);
    }
    const rlim_t room = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (4u << 20);
    const rlimit limit{room, room};
    if (pages == 0 || setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
    // The C library may still hold the stacks of earlier threads, so ask for
    // more threads than it keeps.
    FastStepper stepper(16);
    ParticleSet fast = denseBenchSet(), ref = fast;
    stepper.step(fast, {});
    stepReference(ref, {});
    _exit(stepper.threads() < 16 && fast.X == ref.X && fast.Uz == ref.Uz ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
}

// Steps whose pair count grows and shrinks from one to the next, on more
// threads than processors, so that workers often arrive late for a step: no
// step may hang or take pairs of another, and each agrees with the literal
// step. A child process, so that a hang ends in the alarm, not in ctest's
// timeout.
TEST(Step, PoolSurvivesPairCountsChangingBetweenSteps) {
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    alarm(120);
    FastStepper stepper(8);
    const ParticleSet dense = denseBenchSet();
    std::mt19937 rng(19);
    int differences = 0;
    for (int n = 0; n < 1500 && differences == 0; ++n) {
      ParticleSet fast = dense;
      const int keep = n % 2 ? 60 : 12 + int(rng() % 30);  // 66 to 1770 pairs
      for (int i = keep + 1; i <= 60; ++i) fast.setPresent(i, false);
      ParticleSet ref = fast;
      StepControls c;
      c.blockade = n % 3 == 0;
      stepper.step(fast, c);
      if (n % 50 == 0) {
        stepReference(ref, c);
        differences += !(fast.X == ref.X && fast.Uy == ref.Uy && fast.Z1 == ref.Z1);
      }
    }
    _exit(differences == 0 && stepper.threads() == 8 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

namespace {

ParticleSet exampleSet(const std::string& name) {
  ParticleRecord record{};
  readSetFile(std::string(ZENTROVA_EXAMPLES) + "/" + name + ".lis1", record);
  ParticleSet s;
  s.Count = kMaxParticles;
  loadRecordIntoSet(record, s);
  return s;
}

// The largest |E - E0| over a run of the given length in time.
Real energyError(ParticleSet s, const StepControls& c, Real dt, Real span) {
  s.Dt = dt;
  const Real e0 = observeEnergy(s, c).energy;
  Real worst = 0;
  const int steps = static_cast<int>(span / dt + 0.5L);
  runStepsHeadless(s, c, steps, false, [&](int) { worst = std::max(worst, std::fabs(observeEnergy(s, c).energy - e0)); });
  return worst;
}

}  // namespace

// Velocity Verlet, by choice: second order where the default step is first,
// the same bits from either implementation, and a run from a saved record
// goes on exactly as the unbroken one.
TEST(Step, VerletIsSecondOrderAndContinuesBitForBitFromARecord) {
  const ParticleSet cube = exampleSet("breathing-cube");
  StepControls euler, verlet;
  verlet.verlet = true;
  for (const auto& [c, order] : {std::pair{euler, 2.0}, std::pair{verlet, 4.0}}) {
    const double ratio = double(energyError(cube, c, 0.02L, 10) / energyError(cube, c, 0.01L, 10));
    EXPECT_NEAR(ratio, order, 0.25 * order) << (c.verlet ? "verlet" : "euler");
  }

  ParticleSet whole = exampleSet("three-groups"), ref = whole, first = whole;
  StepControls c = verlet;
  c.blockade = c.cool = true;
  for (int n = 0; n < 4; ++n) stepReference(ref, c), fastStep(whole, c);
  expectSameState(ref, whole, "reference");
  for (int n = 0; n < 2; ++n) fastStep(first, c);
  ParticleRecord saved{};
  snapshotSetIntoRecord(first, saved);
  ParticleSet resumed;
  resumed.Count = kMaxParticles;
  loadRecordIntoSet(saved, resumed);
  for (int n = 0; n < 2; ++n) fastStep(resumed, c);
  expectSameState(whole, resumed, "resumed");
  EXPECT_FALSE(sameBits(whole.X[0], exampleSet("three-groups").X[0]));

  // A fault ends the step with the set as it was.
  ParticleSet two = emptySet();
  place(two, 1, 0.5L);
  place(two, 2, 0.5L);
  const ParticleSet before = two;
  EXPECT_EQ(faultOfStep(fastStep, two, verlet), "Floating point division by zero");
  expectSameState(before, two, "fault");
}
