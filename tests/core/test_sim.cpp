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
#include <vector>

#include "analysis/observables.h"
#include "files/set_file.h"
#include "state/particle_record.h"

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
  // A run that should end at once is cut off after a while instead of hanging.
  int sim(const std::string& args, const std::string& limit = "") {
    const std::string cmd = limit + std::string("'") + ZENTROVA_SIM + "' " + args + " >'" + (dir_ / "out").string() +
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
  EXPECT_EQ(err(), "zentrova-sim: " + kData + "/fault-overflow.lis1: Floating point overflow\n");
  EXPECT_EQ(slurp(tmp("f.lis1")), slurp(kData + "/fault-overflow.lis1"));
  EXPECT_EQ(sim("forces " + data("fault-coincident.lis1")), 1);
  EXPECT_EQ(err(), "zentrova-sim: " + kData + "/fault-coincident.lis1: Floating point division by zero\n");
}

TEST_F(Simulator, InputErrorsWriteNothing) {
  EXPECT_EQ(sim("run '" + tmp("missing.lis1") + "' -n 1 -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("missing.lis1") + ": File not found\n");
  {
    std::ofstream shortFile(tmp("short.lis1"), std::ios::binary);
    shortFile << "too short";
  }
  EXPECT_EQ(sim("run " + tmp("short.lis1") + " -n 1 -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("short.lis1") + ": Read beyond end of file\n");
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 1 --bogus -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n x -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(sim("frobnicate"), 2);
  EXPECT_FALSE(fs::exists(tmp("o.lis1")));
}

TEST_F(Simulator, HelpVersionAndAnOutputCheckedBeforeTheRun) {
  for (const char* ask : {"--help", "-h", "run --help"}) {
    EXPECT_EQ(sim(ask), 0) << ask;
    EXPECT_EQ(out().rfind("usage:\n", 0), 0u) << ask;
    EXPECT_EQ(err(), "") << ask;
  }
  EXPECT_EQ(sim("--version"), 0);
  EXPECT_EQ(out().rfind("zentrova-sim ", 0), 0u);
  // Billions of steps would take days: the output is refused at once.
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 2000000000 -o '" + tmp("no/such/o.lis1") + "'", "timeout 20 "), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("no/such/o.lis1") + ": File not found\n");
  fs::create_directory(tmp("o.lis1"));
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 2000000000 -o '" + tmp("o.lis1") + "'", "timeout 20 "), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("o.lis1") + ": File access denied\n");
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

namespace {

zentrova::ParticleSet loadFile(const std::string& path, int time) {
  zentrova::ParticleRecord record{};
  zentrova::readSetFile(path, record);
  zentrova::ParticleSet set;
  set.Count = zentrova::kMaxParticles;
  zentrova::loadRecordIntoSet(record, set);
  set.Time = time;
  return set;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// The text after "key": up to the next comma or brace.
std::string field(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return "<missing>";
  const auto from = at + key.size() + 3;
  return json.substr(from, json.find_first_of(",}", from) - from);
}

}  // namespace

TEST_F(Simulator, SetEqualsTheSameValuesWrittenIntoTheFile) {
  zentrova::ParticleRecord record{};  // keeps the padding of the file read, as the simulator does
  zentrova::readSetFile(kData + "/set-a.lis1", record);
  zentrova::ParticleSet s;
  s.Count = zentrova::kMaxParticles;
  zentrova::loadRecordIntoSet(record, s);
  s.A1 = 2, s.B2 = 0.45L, s.Dt = 0.004L;
  zentrova::saveSet(s, record, tmp("edited.lis1"));
  ASSERT_EQ(sim("run " + data("set-a.lis1") + " -n 20 --set A1=2 --set B2=0.45 --set dt=0.004 -o " + tmp("x.lis1")), 0);
  ASSERT_EQ(sim("run " + tmp("edited.lis1") + " -n 20 -o " + tmp("y.lis1")), 0);
  EXPECT_TRUE(slurp(tmp("x.lis1")) == slurp(tmp("y.lis1")));
  ASSERT_EQ(sim("forces " + data("set-a.lis1") + " --set A1=2 --set B2=0.45 --set dt=0.004"), 0);
  const std::string viaSet = out();
  ASSERT_EQ(sim("forces " + tmp("edited.lis1")), 0);
  EXPECT_EQ(viaSet, out());

  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 1 --set E2=1"), 2);
  EXPECT_NE(err().find("'E2'"), std::string::npos);
  EXPECT_EQ(sim("observe " + data("set-a.lis1") + " -n 1 --set B2=0,45"), 2);
  EXPECT_NE(err().find("B2: '0,45'"), std::string::npos);
}

TEST_F(Simulator, ObserveAndSummaryAgreeWithTheSavedSet) {
  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 5 --cool -o " + tmp("b5.lis1") + " --summary"), 0);
  const std::string json = out();
  ASSERT_EQ(lines(json).size(), 1u);
  zentrova::StepControls cool;
  cool.cool = true;
  const zentrova::Observables final = zentrova::observe(loadFile(tmp("b5.lis1"), 5), cool);
  std::vector<std::string> cells;
  std::istringstream row(zentrova::observablesCsvRow(final));
  for (std::string c; std::getline(row, c, ',');) cells.push_back(c);
  EXPECT_EQ(field(json, "steps"), "5");
  EXPECT_EQ(field(json, "fault"), "null");
  EXPECT_EQ(field(json, "cool"), "true");
  EXPECT_EQ(field(json, "time"), cells[1]);
  EXPECT_EQ(field(json, "kinetic"), cells[2]);
  EXPECT_EQ(field(json, "radius"), cells[9]);
  EXPECT_EQ(field(json, "min_distance"), cells[10]);
  EXPECT_EQ(field(json, "min_k"), std::to_string(final.min_k));

  ASSERT_EQ(sim("observe " + data("set-b.lis1") + " -n 5 --every 2 --cool"), 0);
  const auto rows = lines(out());
  ASSERT_EQ(rows.size(), 4u);  // header, steps 0, 2, 4
  EXPECT_EQ(rows[0], zentrova::observablesCsvHeader());
  EXPECT_EQ(rows[1], zentrova::observablesCsvRow(zentrova::observe(loadFile(kData + "/set-b.lis1", 0), cool)));
  EXPECT_EQ(rows[3].substr(0, 2), "4,");

  // A fault ends the table after the last completed step.
  EXPECT_EQ(sim("observe " + data("fault-overflow.lis1") + " -n 3"), 1);
  EXPECT_EQ(lines(out()).size(), 2u);
  EXPECT_EQ(err(), "zentrova-sim: " + kData + "/fault-overflow.lis1: Floating point overflow\n");
  EXPECT_EQ(sim("run " + data("fault-overflow.lis1") + " -n 3 --summary"), 1);
  EXPECT_EQ(field(out(), "fault"), "\"Floating point overflow\"");
  EXPECT_EQ(field(out(), "fault_step"), "1");
  EXPECT_EQ(field(out(), "steps"), "0");
}

TEST_F(Simulator, RenderWritesAPictureOfTheSetItsNumbersAndTrails) {
  const auto pngSize = [](const std::string& png) {  // width and height from the IHDR chunk
    const auto be = [&](std::size_t at) {
      return (unsigned(std::uint8_t(png[at])) << 24) | (unsigned(std::uint8_t(png[at + 1])) << 16) |
             (unsigned(std::uint8_t(png[at + 2])) << 8) | unsigned(std::uint8_t(png[at + 3]));
    };
    return png.size() > 24 && png.compare(1, 3, "PNG") == 0 ? std::make_pair(be(16), be(20))
                                                            : std::make_pair(0u, 0u);
  };
  ASSERT_EQ(sim("render " + data("set-a.lis1") + " -o " + tmp("a.png") + " --size 300x200 --numbers --trails 20"), 0)
      << err();
  EXPECT_EQ(pngSize(slurp(tmp("a.png"))), std::make_pair(300u, 200u));
  EXPECT_EQ(sim("render " + data("set-a.lis1") + " -o " + tmp("b.png") + " --size 3x200"), 2);
  EXPECT_EQ(sim("render " + data("set-a.lis1")), 2);
  EXPECT_EQ(sim("render " + tmp("missing.lis1") + " -o " + tmp("b.png")), 2);
  EXPECT_FALSE(fs::exists(tmp("b.png")));
}
