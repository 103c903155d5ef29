// The example sets shipped with the program: rebuilt exactly by their tool,
// loadable, and running as their commentaries say.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "analysis/observables.h"
#include "analysis/work_meter.h"
#include "dynamics/step.h"
#include "figures/figures.h"
#include "files/commentary.h"
#include "files/set_file.h"
#include "state/particle_record.h"

using namespace zentrova;
namespace fs = std::filesystem;

namespace {

const std::string kExamples = ZENTROVA_EXAMPLES;
const char* const kNames[] = {"easy-square", "three-groups", "taoscope-ring", "breathing-cube", "two-clusters"};

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

ParticleSet load(const std::string& name) {
  ParticleRecord record{};
  readSetFile(kExamples + "/" + name + ".lis1", record);
  ParticleSet set;
  set.Count = kMaxParticles;
  loadRecordIntoSet(record, set);
  return set;
}

int presentCount(const ParticleSet& s) {
  int n = 0;
  for (int i = 1; i <= s.Count; ++i) n += s.present(i);
  return n;
}

Real distance(const ParticleSet& s, int i, int k) {
  const Real dx = s.X[i - 1] - s.X[k - 1], dy = s.Y[i - 1] - s.Y[k - 1], dz = s.Z[i - 1] - s.Z[k - 1];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

TEST(Examples, CommittedFilesAreWhatTheToolWritesAndEachHasACommentary) {
  const fs::path dir = fs::temp_directory_path() / ("zentrova-examples-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string cmd = std::string("'") + ZENTROVA_EXAMPLES_TOOL + "' '" + dir.string() + "'";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (const char* name : kNames) {
    SCOPED_TRACE(name);
    const std::string set = kExamples + "/" + name + ".lis1";
    EXPECT_EQ(slurp(set), slurp(dir / (std::string(name) + ".lis1")));
    EXPECT_EQ(fs::file_size(set), 3784u);
    const std::string text = slurp(commentaryPath(set));
    EXPECT_GT(text.size(), 100u);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
  }
  fs::remove_all(dir);
}

TEST(Examples, EasySquareIsTheBuiltInFallback) {
  const ParticleSet file = load("easy-square");
  ParticleSet built;
  built.Count = kMaxParticles;
  built.Dt = file.Dt;
  buildFigure(built);
  ParticleRecord a{}, b{};
  snapshotSetIntoRecord(file, a);
  snapshotSetIntoRecord(built, b);
  EXPECT_EQ(a.bytes, b.bytes);
  EXPECT_EQ(presentCount(file), 4);
}

TEST(Examples, EverySetRunsInBothModesWithoutAFault) {
  for (const char* name : kNames) {
    for (const bool taoscope : {false, true}) {
      SCOPED_TRACE(std::string(name) + (taoscope ? " taoscope" : " gravoscope"));
      ParticleSet s = load(name);
      StepControls c;
      c.forces.taoscope = taoscope;
      // The sixty-particle set is run for 20 000 steps by hand; a few hundred here.
      EXPECT_NO_THROW(runStepsHeadless(s, c, presentCount(s) > 8 ? 200 : 1500));
      for (int i = 1; i <= s.Count; ++i) {
        if (!s.present(i)) continue;
        ASSERT_TRUE(std::isfinite(s.X[i - 1]) && std::isfinite(s.Uz[i - 1]));
      }
    }
  }
  EXPECT_EQ(presentCount(load("three-groups")), 60);
}

TEST(Examples, TaoscopeRingSortsItselfByParity) {
  ParticleSet s = load("taoscope-ring");
  StepControls c;
  c.forces.taoscope = true;
  runStepsHeadless(s, c, 5000);
  Real likeMax = 0, unlikeMin = 1e9L;
  for (int i = 1; i <= 8; ++i)
    for (int k = i + 1; k <= 8; ++k) {
      const Real d = distance(s, i, k);
      if ((i - k) % 2 == 0)
        likeMax = std::max(likeMax, d);
      else
        unlikeMin = std::min(unlikeMin, d);
    }
  EXPECT_LT(likeMax, 2);
  EXPECT_GT(unlikeMin, 20);
}

TEST(Examples, WatchedSetsStayTogetherWhereTheCommentariesSay) {
  StepControls c;
  ParticleSet cube = load("breathing-cube");
  Real least = 1e9L, most = 0;
  for (int n = 0; n < 30; ++n) {
    runStepsHeadless(cube, c, 100);
    const Observables o = observe(cube, c);
    least = std::min(least, o.radius), most = std::max(most, o.radius);
    ASSERT_GT(o.min_distance, 1.9L);
  }
  EXPECT_LT(least, 1.8L);  // it breathes ...
  EXPECT_GT(most, 2.1L);
  EXPECT_LT(most, 2.2L);  // ... and stays a cube

  ParticleSet two = load("two-clusters");
  runStepsHeadless(two, c, 3000);
  const Observables o = observe(two, c);
  EXPECT_LT(o.radius, 4.5L);  // captured, not flown apart
  EXPECT_LT(std::abs(o.com_x) + std::abs(o.com_y) + std::abs(o.com_z), 1e-9L);
}

// The work of the unequal pulls accounts for the energy the mixed set gains
// or loses: what is left is the step's own error, which halves with dt as a
// first-order step's does, while the energy itself swings by far more.
TEST(Examples, ThreeGroupsKeepEnergyLessWorkToTheStepsOrder) {
  StepControls c;
  Real swing = 0, errors[2];
  for (const int halving : {0, 1}) {
    ParticleSet s = load("three-groups");
    s.Dt = halving ? 0.002L : 0.004L;
    WorkMeter work;
    work.start(s, c);
    const Real e0 = observeEnergy(s, c).energy;
    Real worst = 0, low = e0, high = e0;
    runStepsHeadless(s, c, halving ? 1000 : 500, false, [&](int) {
      work.afterStep(s, c);
      const Real e = observeEnergy(s, c).energy;
      worst = std::max(worst, std::fabs(e - work.work() - e0));
      low = std::min(low, e), high = std::max(high, e);
    });
    errors[halving] = worst;
    swing = high - low;
  }
  EXPECT_GT(swing, 10);
  EXPECT_LT(errors[1], swing * 1e-2);
  EXPECT_NEAR(double(errors[0] / errors[1]), 2, 0.3);
}
