#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "reference_vectors.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = ZENTROVA_TEST_DATA;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Same lines, same particle numbers, the forces within the reference's tolerance.
::testing::AssertionResult sameForces(const std::string& got, const std::string& want) {
  std::istringstream g(got), w(want);
  std::string gl, wl;
  while (std::getline(w, wl)) {
    if (!std::getline(g, gl)) return ::testing::AssertionFailure() << "missing line: " << wl;
    std::istringstream gw(gl), ww(wl);
    std::string gi, wi;
    gw >> gi, ww >> wi;
    if (gi != wi) return ::testing::AssertionFailure() << gl << " vs " << wl;
    for (int c = 0; c < 3; ++c) {
      std::string a, b;
      gw >> a, ww >> b;
      if (!zentrova::testing::closeToReference(std::strtold(a.c_str(), nullptr), std::strtold(b.c_str(), nullptr)))
        return ::testing::AssertionFailure() << gl << " vs " << wl;
    }
  }
  if (std::getline(g, gl)) return ::testing::AssertionFailure() << "extra line: " << gl;
  return ::testing::AssertionSuccess();
}

zentrova::ParticleRecord recordOf(const std::string& bytes) {
  zentrova::ParticleRecord r;
  EXPECT_EQ(bytes.size(), r.bytes.size());
  std::memcpy(r.bytes.data(), bytes.data(), std::min(bytes.size(), r.bytes.size()));
  return r;
}

class Simulator : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zentrova-sim-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the simulator; stdout and stderr land in files of the test folder.
  int sim(const std::string& args) {
    const std::string cmd = std::string("'") + ZENTROVA_SIM + "' " + args + " >'" + (dir_ / "out").string() +
                            "' 2>'" + (dir_ / "err").string() + "'";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string data(const std::string& name) const { return "'" + kData + "/" + name + "'"; }
  std::string tmp(const std::string& name) const { return (dir_ / name).string(); }
  std::string out() const { return slurp(dir_ / "out"); }
  std::string err() const { return slurp(dir_ / "err"); }

  fs::path dir_;
};

}  // namespace

TEST_F(Simulator, ForcesPrintTheReferenceDigits) {
  ASSERT_EQ(sim("forces " + data("set-a.lis1")), 0);
  EXPECT_TRUE(sameForces(out(), slurp(kData + "/set-a.forces.txt")));
  ASSERT_EQ(sim("forces " + data("set-b.lis1") + " --pe-out --pes1-out"), 0);
  EXPECT_TRUE(sameForces(out(), slurp(kData + "/set-b.forces-pe-pes1-out.txt")));
}

TEST_F(Simulator, RunWritesTheSetTheWayTheProgramDoes) {
  ASSERT_EQ(sim("run " + data("set-c.lis1") + " -n 10 --taoscope --pes2-out -o " + tmp("c.lis1")), 0);
  EXPECT_TRUE(zentrova::testing::recordsClose(recordOf(slurp(tmp("c.lis1"))),
                                              recordOf(slurp(kData + "/set-c.after10-taoscope-pes2-out.lis1"))));
  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 10 --cool --blockade --reference -o " + tmp("b.lis1")), 0);
  EXPECT_TRUE(zentrova::testing::recordsClose(recordOf(slurp(tmp("b.lis1"))),
                                              recordOf(slurp(kData + "/set-b.after10-cool-blockade.lis1"))));
}

TEST_F(Simulator, TrajectoryEveryKStepsAndTheLast) {
  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 5 --every 2 --csv " + tmp("t.csv")), 0);
  std::ifstream in(tmp("t.csv"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "step,i,x,y,z,ux,uy,uz");
  int rows = 0, lastStep = -1;
  while (std::getline(in, line)) {
    ++rows;
    lastStep = std::stoi(line.substr(0, line.find(',')));
  }
  EXPECT_EQ(rows, 4 * 37);  // steps 0, 2, 4 and 5 of 37 present particles
  EXPECT_EQ(lastStep, 5);
}

TEST_F(Simulator, FaultKeepsTheLastCompletedStep) {
  EXPECT_EQ(sim("run " + data("fault-overflow.lis1") + " -n 4 -o " + tmp("f.lis1")), 1);
  EXPECT_EQ(err(), "Floating point overflow\n");
  EXPECT_EQ(slurp(tmp("f.lis1")), slurp(kData + "/fault-overflow.lis1"));
  EXPECT_EQ(sim("forces " + data("fault-coincident.lis1")), 1);
  EXPECT_EQ(err(), "Floating point division by zero\n");
}

TEST_F(Simulator, InputErrorsWriteNothing) {
  EXPECT_EQ(sim("run '" + tmp("missing.lis1") + "' -n 1 -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(err(), "File not found\n");
  {
    std::ofstream shortFile(tmp("short.lis1"), std::ios::binary);
    shortFile << "too short";
  }
  EXPECT_EQ(sim("run " + tmp("short.lis1") + " -n 1 -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(err(), "Read beyond end of file\n");
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 1 --bogus -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n x -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(sim("frobnicate"), 2);
  EXPECT_FALSE(fs::exists(tmp("o.lis1")));
}

TEST_F(Simulator, BenchReportsIdentity) {
  ASSERT_EQ(sim("bench -n 1"), 0);
  const std::string text = out();
  EXPECT_NE(text.find("baseline: "), std::string::npos);
  EXPECT_NE(text.find("reference: "), std::string::npos);
  EXPECT_NE(text.find("fast: "), std::string::npos);
  EXPECT_NE(text.find("speedup: "), std::string::npos);
  EXPECT_NE(text.find("identical: yes"), std::string::npos);
}
