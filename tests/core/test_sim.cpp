#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <limits>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include "analysis/observables.h"
#include "files/set_file.h"
#include "state/number_text.h"
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
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 1 --every 0 -o " + tmp("o.lis1")), 2);
  EXPECT_EQ(err().substr(0, err().find('\n')), "zentrova-sim: --every: '0' is out of range");
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
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("o.lis1") + ": is a directory\n");
}

TEST_F(Simulator, BenchReportsIdentity) {
  ASSERT_EQ(sim("bench -n 1 --warm 3 --threads 2"), 0);
  const std::string text = out();
  EXPECT_NE(text.find("baseline: "), std::string::npos);
  EXPECT_NE(text.find("reference: "), std::string::npos);
  EXPECT_NE(text.find("fast: "), std::string::npos);
  EXPECT_NE(text.find("fast, 1 thread: "), std::string::npos);
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

  // Where it came from.
  EXPECT_EQ(field(json, "program"), "\"zentrova-sim\"");
  EXPECT_EQ(field(json, "command"), "[\"" + std::string(ZENTROVA_SIM) + "\"");
  EXPECT_EQ(field(json, "start_step"), "0");
  EXPECT_EQ(field(json, "interrupted"), "null");
  EXPECT_EQ(field(json, "output_error"), "null");
  EXPECT_EQ(field(json, "nonfinite"), "[]");
  EXPECT_EQ(field(json, "started").size(), 22u);  // "2024-06-11T08:30:00Z"
  EXPECT_NE(field(json, "finished").find('Z'), std::string::npos);
  EXPECT_NE(field(json, "version"), "<missing>");
  EXPECT_NE(field(json, "host"), "<missing>");
  EXPECT_GE(std::stoi(field(json, "threads")), 1);
  // Any byte may be in a name: the file is found, and JSON gets the byte back.
  fs::copy_file(kData + "/set-b.lis1", tmp("b\xe9.lis1"));
  ASSERT_EQ(sim("run '" + tmp("b\xe9.lis1") + "' -n 1 --summary"), 0) << err();
  EXPECT_EQ(field(out(), "input"), "\"" + tmp("b") + "\\udce9.lis1\"");
  const std::string sha = field(json, "input_sha256");
  ASSERT_EQ(std::system(("sha256sum " + data("set-b.lis1") + " >" + tmp("sum")).c_str()), 0);
  EXPECT_EQ(sha, "\"" + slurp(tmp("sum")).substr(0, 64) + "\"");

  // The last row is the final state, whatever --every says.
  ASSERT_EQ(sim("observe " + data("set-b.lis1") + " -n 5 --every 2 --cool"), 0);
  const auto rows = lines(out());
  ASSERT_EQ(rows.size(), 5u);  // header, steps 0, 2, 4, 5
  EXPECT_EQ(rows[0], zentrova::observablesCsvHeader());
  EXPECT_EQ(rows[1], zentrova::observablesCsvRow(zentrova::observe(loadFile(kData + "/set-b.lis1", 0), cool)));
  EXPECT_EQ(rows[3].substr(0, 2), "4,");
  // Both count the work (here Cool's damping) over the same steps.
  zentrova::Observables measured = final;
  measured.work = zentrova::parseReal(field(json, "work"), '.');
  EXPECT_NE(measured.work, 0);
  EXPECT_EQ(rows[4], cells.empty() ? "" : zentrova::observablesCsvRow(measured));
  EXPECT_EQ(field(json, "energy_start"), "null");
  EXPECT_EQ(field(json, "reasons").substr(0, 14), "[\"Cool is on\"");

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

namespace {

// The simulator started in the background, so that it can be sent signals.
pid_t spawn(const std::string& args, const fs::path& dir) {
  const std::string cmd = "exec '" + std::string(ZENTROVA_SIM) + "' " + args + " >'" + (dir / "out").string() +
                          "' 2>'" + (dir / "err").string() + "'";
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

int exitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -2;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// Waits until the file holds at least `bytes` bytes (or 30 s have passed).
void waitForBytes(const fs::path& p, std::uintmax_t bytes) {
  for (int n = 0; n < 3000; ++n) {
    std::error_code ec;
    if (fs::file_size(p, ec) >= bytes && !ec) return;
    ::usleep(10000);
  }
}

// Two particles of group PE flying at each other with no pull (A1 = 0):
// d^(B1/d) with B1 < 0 overflows once they are close, about 45 steps in.
// Particle 5 may carry a NaN.
void writeCollidingSet(const std::string& path, bool nanAt5) {
  zentrova::ParticleSet s;
  s.Count = 60;
  s.Dt = 0.01L;
  s.A1 = 0, s.B1 = -10;
  s.A2 = s.A3 = 1, s.B2 = s.B3 = 0.3L, s.C2 = s.C3 = 0.671L, s.D2 = s.D3 = 1.2L;
  auto place = [&](int i, zentrova::Real x, zentrova::Real ux) {
    s.X[i - 1] = s.X1[i - 1] = x, s.Ux[i - 1] = s.Ux1[i - 1] = ux, s.Y[i - 1] = s.Y1[i - 1] = i == 5;
    s.setPresent(i, true);
  };
  place(1, -0.5L, 1);
  place(2, 0.5013L, -1);
  if (nanAt5) place(5, 0, 0), s.Uz[4] = s.Uz1[4] = std::numeric_limits<zentrova::Real>::quiet_NaN();
  zentrova::ParticleRecord record{};
  zentrova::saveSet(s, record, path);
}

}  // namespace

// SIGTERM, SIGINT, SIGHUP: the run stops after its step and ends as a normal
// run does, with 128 + the signal.
TEST_F(Simulator, SignalsEndARunAsANormalEndWould) {
  const pid_t run = spawn("run " + data("set-a.lis1") + " -n 100000000 -o " + tmp("o.lis1") + " --csv " + tmp("t.csv") +
                              " --every 7 --xyz " + tmp("t.xyz") + " --summary --threads 2",
                          dir_);
  waitForBytes(tmp("t.csv"), 40000);
  kill(run, SIGTERM);
  EXPECT_EQ(exitStatus(run), 143) << err();
  const std::string json = out();
  EXPECT_EQ(field(json, "interrupted"), "\"SIGTERM\"");
  const std::string steps = field(json, "steps");
  // OUT is the clean run of the reported steps; the tables end with it.
  ASSERT_EQ(sim("run " + data("set-a.lis1") + " -n " + steps + " -o " + tmp("clean.lis1")), 0);
  EXPECT_TRUE(slurp(tmp("o.lis1")) == slurp(tmp("clean.lis1")));
  const auto csv = lines(slurp(tmp("t.csv")));
  EXPECT_EQ(csv.back().substr(0, csv.back().find(',')), steps);
  EXPECT_EQ(std::count(csv.back().begin(), csv.back().end(), ','), 7);
  EXPECT_NE(slurp(tmp("t.xyz")).rfind("step=" + steps + " "), std::string::npos);
  // No temporary file left: a temporary ("o.lis1.k3JdQ2") has an extension
  // too, so only the names the runs write are allowed.
  const std::set<std::string> written = {"o.lis1", "t.csv", "t.xyz", "clean.lis1", "out", "err"};
  for (const auto& e : fs::directory_iterator(dir_)) EXPECT_EQ(written.count(e.path().filename()), 1u) << e.path();

  const pid_t observe = spawn("observe " + data("set-a.lis1") + " -n 100000000 --every 1000000", dir_);
  // Into the first row, written after the header, before the first step.
  waitForBytes(dir_ / "out", std::strlen(zentrova::observablesCsvHeader()) + 100);
  kill(observe, SIGINT);
  EXPECT_EQ(exitStatus(observe), 130);
  const auto rows = lines(out());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].substr(0, 2), "0,");
  EXPECT_EQ(rows[2].find(",nan"), std::string::npos);

  const pid_t hup = spawn("run " + data("set-a.lis1") + " -n 100000000 --summary --csv " + tmp("h.csv"), dir_);
  waitForBytes(tmp("h.csv"), 20000);
  kill(hup, SIGHUP);
  EXPECT_EQ(exitStatus(hup), 129);
  EXPECT_EQ(field(out(), "interrupted"), "\"SIGHUP\"");
}

// A write that fails is an error in every command, named, with exit 2.
TEST_F(Simulator, FailedWritesEndTheCommandWithTheirName) {
  for (const std::string& cmd : {"forces " + data("set-a.lis1"), "run " + data("set-a.lis1") + " -n 2 --summary",
                                std::string("bench -n 1"), "observe " + data("set-a.lis1") + " -n 2",
                                std::string("--help")}) {
    const std::string line = "'" + std::string(ZENTROVA_SIM) + "' " + cmd + " >/dev/full 2>'" + tmp("err") + "'";
    const int status = std::system(line.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << cmd;
    EXPECT_NE(err().find("zentrova-sim: standard output: Disk full"), std::string::npos) << cmd << ": " << err();
    EXPECT_EQ(lines(err()).size(), 1u) << cmd << ": " << err();
  }
  // A tiny file-size limit: the trajectory fails, the summary says so, and
  // OUT still gets the last completed step.
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 50 --csv " + tmp("t.csv") + " -o " + tmp("o.lis1") + " --summary",
                "prlimit --fsize=5000 "),
            2);
  EXPECT_NE(err().find("zentrova-sim: " + tmp("t.csv") + ": File too large"), std::string::npos) << err();
  EXPECT_EQ(field(out(), "output_error").rfind("\"" + tmp("t.csv") + ": ", 0), 0u) << out();
  EXPECT_EQ(fs::file_size(tmp("o.lis1")), 3784u);
  EXPECT_EQ(slurp(tmp("t.csv")).back(), '\n');  // cut back to its last whole row
  const int observed = std::system(("prlimit --fsize=1000 '" + std::string(ZENTROVA_SIM) + "' observe " +
                                    data("set-a.lis1") + " -n 50 >" + tmp("ob.csv") + " 2>" + tmp("err")).c_str());
  EXPECT_TRUE(WIFEXITED(observed) && WEXITSTATUS(observed) == 2);
  EXPECT_EQ(slurp(tmp("ob.csv")).back(), '\n');
  EXPECT_EQ(lines(err()).size(), 1u) << err();
  // The final OUT cannot be written: the summary is still printed.
  EXPECT_EQ(sim("run " + data("set-a.lis1") + " -n 2 -o " + tmp("p.lis1") + " --summary", "prlimit --fsize=3000 "), 2);
  EXPECT_EQ(field(out(), "steps"), "2");
  EXPECT_EQ(field(out(), "output_error").rfind("\"" + tmp("p.lis1") + ": ", 0), 0u) << out();
  EXPECT_FALSE(fs::exists(tmp("p.lis1")));
}

TEST_F(Simulator, NoOutputOverTheInput) {
  fs::copy_file(kData + "/set-a.lis1", tmp("in.lis1"));
  fs::create_symlink(tmp("in.lis1"), tmp("link.lis1"));
  fs::create_hard_link(tmp("in.lis1"), tmp("hard.lis1"));
  for (const std::string& outputs : {" --csv " + tmp("in.lis1"), " -o " + tmp("link.lis1"), " --xyz " + tmp("hard.lis1"),
                                    " -o " + tmp("x.lis1") + " --csv " + tmp("x.lis1")}) {
    EXPECT_EQ(sim("run " + tmp("in.lis1") + " -n 3" + outputs), 2) << outputs;
    EXPECT_NE(err().find("name the same file"), std::string::npos) << err();
    EXPECT_TRUE(slurp(tmp("in.lis1")) == slurp(kData + "/set-a.lis1"));
  }
  EXPECT_FALSE(fs::exists(tmp("x.lis1")));
  EXPECT_EQ(sim("convert " + tmp("in.lis1") + " " + tmp("link.lis1")), 2);
}

// Checkpoints every K steps, and a restart from one that carries on the
// step and time of every output.
TEST_F(Simulator, CheckpointsAndARestartThatCarriesOn) {
  const pid_t run = spawn("run " + data("set-a.lis1") + " -n 100000000 -o " + tmp("o.lis1") + " --checkpoint 20 --csv " +
                              tmp("t.csv") + " --every 20",
                          dir_);
  waitForBytes(tmp("t.csv"), 60000);
  waitForBytes(tmp("o.lis1"), 3784);
  kill(run, SIGKILL);
  EXPECT_EQ(exitStatus(run), 1000 + SIGKILL);
  // The checkpoint is one of the rows of a multiple of 20 steps.
  const zentrova::ParticleSet saved = loadFile(tmp("o.lis1"), 0);
  const std::string x1 = ",1," + zentrova::machineReal(saved.X[0]) + "," + zentrova::machineReal(saved.Y[0]) + ",";
  const std::string csv = slurp(tmp("t.csv"));
  const auto at = csv.find(x1);
  ASSERT_NE(at, std::string::npos);
  const int step = std::stoi(csv.substr(csv.rfind('\n', at) + 1));
  EXPECT_EQ(step % 20, 0);
  EXPECT_GT(step, 0);

  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 10 -o " + tmp("ten.lis1") + " --summary"), 0);
  const std::string whole = out();
  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 4 -o " + tmp("four.lis1")), 0);
  ASSERT_EQ(sim("run " + tmp("four.lis1") + " -n 6 --start-step 4 -o " + tmp("rest.lis1") + " --summary --csv " +
                tmp("r.csv") + " --every 4"),
            0);
  EXPECT_TRUE(slurp(tmp("ten.lis1")) == slurp(tmp("rest.lis1")));
  EXPECT_EQ(field(out(), "time"), field(whole, "time"));
  EXPECT_EQ(field(out(), "start_step"), "4");
  EXPECT_EQ(field(out(), "steps"), "6");
  const auto rows = lines(slurp(tmp("r.csv")));
  EXPECT_EQ(rows[1].substr(0, 2), "4,");
  EXPECT_EQ(rows.back().substr(0, 3), "10,");
  EXPECT_EQ(sim("run " + data("set-b.lis1") + " -n 4 --checkpoint 2"), 2);

  // Steps are counted in 64 bits.
  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 20 --start-step 2147483640 --every 8 --summary --csv " + tmp("b.csv")), 0);
  EXPECT_EQ(field(out(), "step"), "2147483660");
  const auto big = lines(slurp(tmp("b.csv")));
  EXPECT_EQ(big[1].substr(0, 11), "2147483640,");
  EXPECT_EQ(big.back().substr(0, 11), "2147483660,");
  EXPECT_NE(slurp(tmp("b.csv")).find("\n2147483648,"), std::string::npos);  // on the grid of the absolute step
}

// The same command submitted again and again, interrupted by SIGKILL, SIGTERM
// and --max-time at points --every does not divide, ends with -o, CSV and XYZ
// byte for byte those of the run never interrupted; a finished run submitted
// again changes nothing; a checkpoint of another run is refused untouched.
TEST_F(Simulator, ResumeWithTheSameCommandEndsAsTheUninterruptedRun) {
  const std::string outputs = " --csv " + tmp("t.csv") + " --xyz " + tmp("t.xyz") + " -o " + tmp("o.lis1");
  const std::string run = "run " + data("set-b.lis1") + " -n 3000 --every 7 --threads 1";
  ASSERT_EQ(sim(run + " --csv " + tmp("r.csv") + " --xyz " + tmp("r.xyz") + " -o " + tmp("r.lis1")), 0);
  const std::string again = run + outputs + " --checkpoint 40 --resume --summary";
  std::uintmax_t grown = 0;
  for (int signal : {SIGKILL, SIGTERM, SIGKILL}) {
    const pid_t p = spawn(again, dir_);
    grown += 500000;
    waitForBytes(tmp("t.csv"), grown);
    kill(p, signal);
    EXPECT_EQ(exitStatus(p), signal == SIGKILL ? 1000 + SIGKILL : 143) << err();
  }
  EXPECT_EQ(sim(again + " --max-time 0.001s"), 75) << err();
  EXPECT_EQ(field(out(), "interrupted"), "\"max-time\"");
  const std::string stopped = slurp(tmp("o.lis1.ckpt"));

  EXPECT_EQ(sim(again + " --cool"), 2);
  EXPECT_NE(err().find("--cool differs"), std::string::npos) << err();
  EXPECT_EQ(sim(again + " --set B2=0.3"), 2);
  EXPECT_NE(err().find("B2 differs"), std::string::npos) << err();
  EXPECT_TRUE(slurp(tmp("o.lis1.ckpt")) == stopped);

  ASSERT_EQ(sim(again), 0) << err();
  const std::string summary = out();
  EXPECT_EQ(field(summary, "step"), "3000");
  EXPECT_TRUE(slurp(tmp("t.csv")) == slurp(tmp("r.csv")));
  EXPECT_TRUE(slurp(tmp("t.xyz")) == slurp(tmp("r.xyz")));
  EXPECT_TRUE(slurp(tmp("o.lis1")) == slurp(tmp("r.lis1")));
  EXPECT_TRUE(slurp(tmp("o.lis1.ckpt.prev")) != "");
  ASSERT_EQ(sim(again), 0);
  EXPECT_EQ(out(), summary);
  EXPECT_TRUE(slurp(tmp("t.csv")) == slurp(tmp("r.csv")));
}

// After a fault the tables end with the last completed step; a non-finite
// input is named and listed, and the run goes on.
TEST_F(Simulator, TablesEndAtTheLastCompletedStepAndNonFiniteInputIsNamed) {
  writeCollidingSet(tmp("c.lis1"), false);
  EXPECT_EQ(sim("run " + tmp("c.lis1") + " -n 1000 --every 100 --csv " + tmp("t.csv") + " --xyz " + tmp("t.xyz") +
                " --summary"),
            1);
  const int faultStep = std::stoi(field(out(), "fault_step"));
  EXPECT_GT(faultStep, 10);
  const auto rows = lines(slurp(tmp("t.csv")));
  EXPECT_EQ(rows.back().substr(0, rows.back().find(',')), std::to_string(faultStep - 1));
  EXPECT_NE(slurp(tmp("t.xyz")).find("step=" + std::to_string(faultStep - 1) + " "), std::string::npos);
  EXPECT_EQ(sim("observe " + tmp("c.lis1") + " -n 1000 --every 100"), 1);
  EXPECT_EQ(lines(out()).back().substr(0, lines(out()).back().find(',')), std::to_string(faultStep - 1));

  writeCollidingSet(tmp("n.lis1"), true);
  EXPECT_EQ(sim("run " + tmp("n.lis1") + " -n 3 --summary"), 0);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("n.lis1") + ": particle 5 has a non-finite value\n");
  EXPECT_EQ(field(out(), "nonfinite"), "[5]");
  EXPECT_EQ(field(out(), "steps"), "3");
}

TEST_F(Simulator, ThreadsFromTheOptionTheEnvironmentOrTheAffinity) {
  const std::string run = "run " + data("set-a.lis1") + " -n 2 --summary";
  EXPECT_EQ(sim(run + " --threads 3"), 0);
  EXPECT_EQ(field(out(), "threads"), "3");
  EXPECT_EQ(sim(run, "ZENTROVA_THREADS=5 "), 0);
  EXPECT_EQ(field(out(), "threads"), "5");
  EXPECT_EQ(sim(run, "taskset -c 0 "), 0);
  EXPECT_EQ(field(out(), "threads"), "1");
  for (const std::string& cmd : {"forces " + data("set-a.lis1"), "observe " + data("set-a.lis1") + " -n 1",
                                "render " + data("set-a.lis1") + " -o " + tmp("a.png")}) {
    EXPECT_EQ(sim(cmd + " --threads 2"), 0) << cmd << err();
    EXPECT_EQ(sim(cmd + " --threads 17"), 2) << cmd;
  }
  writeCollidingSet(tmp("two.lis1"), false);  // too small to share: one thread, whatever is asked
  EXPECT_EQ(sim("run " + tmp("two.lis1") + " -n 2 --summary --threads 3"), 0);
  EXPECT_EQ(field(out(), "threads"), "1");
  for (const std::string& cmd : {run, "forces " + data("set-a.lis1")}) {
    EXPECT_EQ(sim(cmd, "ZENTROVA_THREADS=many "), 2) << cmd;
    EXPECT_NE(err().find("ZENTROVA_THREADS 'many'"), std::string::npos) << err();
  }
}

// .lis1 -> .xyz -> .lis1 gives back every value; a trajectory's last frame
// is the set written to -o; lines without ids fill particles in order.
TEST_F(Simulator, ExtendedXyzRoundTripsAndConverts) {
  ASSERT_EQ(sim("convert " + data("set-a.lis1") + " " + tmp("a.xyz")), 0) << err();
  ASSERT_EQ(sim("convert " + tmp("a.xyz") + " " + tmp("a.lis1")), 0) << err();
  const std::string was = slurp(kData + "/set-a.lis1"), back = slurp(tmp("a.lis1"));
  ASSERT_EQ(back.size(), 3784u);
  EXPECT_TRUE(was.compare(0, 10, back, 0, 10) == 0);      // dt
  EXPECT_TRUE(was.compare(16, 100, back, 16, 100) == 0);  // the parameters
  EXPECT_TRUE(was.compare(120, 3600, back, 120, 3600) == 0);
  // Every command takes XYZ as input, told by its content; a record with
  // bytes after it is refused.
  ASSERT_EQ(sim("run " + tmp("a.xyz") + " -n 0 -o " + tmp("r0.lis1")), 0) << err();
  EXPECT_TRUE(slurp(tmp("r0.lis1")) == back);
  std::ofstream(tmp("long.lis1"), std::ios::binary) << was << "\n";
  EXPECT_EQ(sim("forces " + tmp("long.lis1")), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("long.lis1") + ": not a set: 3785 bytes where a .lis1 set has 3784\n");

  ASSERT_EQ(sim("run " + data("set-b.lis1") + " -n 7 --every 3 --xyz " + tmp("t.xyz") + " -o " + tmp("o.lis1")), 0);
  ASSERT_EQ(sim("convert " + tmp("t.xyz") + " " + tmp("last.lis1")), 0);
  const zentrova::ParticleSet last = loadFile(tmp("last.lis1"), 0), o = loadFile(tmp("o.lis1"), 0);
  for (int i = 1; i <= 60; ++i) {
    EXPECT_EQ(last.present(i), o.present(i)) << i;
    if (o.present(i)) {
      EXPECT_TRUE(last.X[i - 1] == o.X[i - 1] && last.Uz[i - 1] == o.Uz[i - 1]) << i;
    }
  }
  const std::string xyz = slurp(tmp("t.xyz"));
  for (const char* step : {"step=0 ", "step=3 ", "step=6 ", "step=7 "}) EXPECT_NE(xyz.find(step), std::string::npos);

  const std::string others = " B1=1 A2=1 B2=1 C2=1 D2=1 A3=1 B3=1 C3=1 D3=1";
  {
    std::ofstream f(tmp("plain.xyz"));
    f << "2\nProperties=species:S:1:pos:R:3" << others << "\nH 1 2 3\nH -1 -2 -3.5\n";
  }
  // What the frame lacks is never taken as 0.
  EXPECT_EQ(sim("convert " + tmp("plain.xyz") + " " + tmp("p.lis1") + " --set A1=2"), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("plain.xyz") + ": the frame has no dt; give each with --set NAME=VALUE\n");
  ASSERT_EQ(sim("convert " + tmp("plain.xyz") + " " + tmp("p.lis1") + " --set A1=2 --set dt=0.5"), 0) << err();
  const zentrova::ParticleSet p = loadFile(tmp("p.lis1"), 0);
  EXPECT_EQ(p.X[0], 1.0L);
  EXPECT_EQ(p.Z[1], -3.5L);
  EXPECT_TRUE(p.present(1) && p.present(2) && !p.present(3));
  EXPECT_EQ(p.Dt, 0.5L);
  EXPECT_EQ(p.A1, 2.0L);
  {
    std::ofstream f(tmp("bad.xyz"));
    f << "2\nProperties=species:S:1:pos:R:3\nH 1 2 3\nH 1 2\n";
  }
  EXPECT_EQ(sim("convert " + tmp("bad.xyz") + " " + tmp("q.lis1")), 2);
  EXPECT_EQ(err(), "zentrova-sim: " + tmp("bad.xyz") + ": line 4: expected 4 columns\n");
  // Refused as --set refuses, each with its line.
  const std::string head = "Properties=species:S:1:pos:R:3:id:I:1:group:S:1 dt=1 A1=1" + others;
  for (const auto& [frame, message] : std::vector<std::pair<std::string, std::string>>{
           {"1\n" + head + "\nC 1 2 3 21 PE\n", "line 3: group 'PE' of particle 21, which is in PES1"},
           {"1\n" + head + "\nC 1 2 nan 1 PE\n", "line 3: 'nan' is not a valid floating point value"},
           {"1\n" + head + "\nC 1 2 3 1 P" + std::string(1, '\0') + "E\n", "line 3: a control byte (0x00)"},
           {"1\nProperties=species:S:1:pos:R:3 dt=1 A1=1e6000" + others + "\nC 1 2 3\n",
            "line 2: A1: '1e6000' is not a valid floating point value"},
           {"1\nProperties=species:S:1:pos:R:3:momenta:R:3\nXx 1 2 3 1 1 1\n",
            "line 3: momenta of species 'Xx', which has no standard mass: add a masses:R:1 column"}}) {
    {
      std::ofstream f(tmp("bad.xyz"), std::ios::binary);
      f << frame;
    }
    EXPECT_EQ(sim("convert " + tmp("bad.xyz") + " " + tmp("q.lis1")), 2) << message;
    EXPECT_EQ(err(), "zentrova-sim: " + tmp("bad.xyz") + ": " + message + "\n");
  }
  EXPECT_EQ(sim("convert " + data("set-a.lis1") + " " + tmp("a.pdb")), 2);
  EXPECT_FALSE(fs::exists(tmp("q.lis1")));
}
