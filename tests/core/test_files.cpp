#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "file_faults.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "state/errors.h"

using namespace zentrova;
namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zentrova-files-XXXXXX";
    dir = mkdtemp(tmpl);
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove_all(dir);
  }
  std::string path(const std::string& name) const { return dir + "/" + name; }
  void writeBytes(const std::string& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
  std::string readBytes(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
  std::string ioFailure(const std::function<void()>& f) {
    try {
      f();
    } catch (const IoError& e) {
      return e.what();
    }
    return "no failure";
  }
  std::string dir;
};

}  // namespace

TEST_F(Files, WrittenSetIsOneRecordAndReadsBackIdentically) {
  ParticleRecord r;
  for (std::size_t k = 0; k < r.bytes.size(); ++k) r.bytes[k] = std::uint8_t(k);
  writeSetFile(path("a.lis1"), r);
  EXPECT_EQ(fs::file_size(path("a.lis1")), 3784u);
  ParticleRecord back;
  readSetFile(path("a.lis1"), back);
  EXPECT_EQ(back.bytes, r.bytes);
}

TEST_F(Files, ShortFileIsReadBeyondEndAndLeavesTheBuffer) {
  writeBytes(path("short.lis1"), std::string(3783, 'x'));
  ParticleRecord r;
  r.bytes[0] = 42;
  EXPECT_EQ(ioFailure([&] { readSetFile(path("short.lis1"), r); }), "Read beyond end of file");
  EXPECT_EQ(r.bytes[0], 42);
  EXPECT_EQ(ioFailure([&] { readSetFile(path("none.lis1"), r); }), "File not found");
  EXPECT_EQ(ioFailure([&] { readSetFile(dir, r); }), "File access denied");
}

TEST_F(Files, TwoRecordFileLoadsTheFirstAndSavingTruncates) {
  writeBytes(path("two.lis1"), std::string(3784, 'a') + std::string(3784, 'b'));
  ParticleRecord r;
  readSetFile(path("two.lis1"), r);
  EXPECT_EQ(r.bytes[3783], 'a');
  writeSetFile(path("two.lis1"), r);
  EXPECT_EQ(fs::file_size(path("two.lis1")), 3784u);
}

TEST_F(Files, WriteProtectedSetStillOpens) {
  writeBytes(path("ro.lis1"), std::string(3784, 'r'));
  chmod(path("ro.lis1").c_str(), 0444);
  ParticleRecord r;
  readSetFile(path("ro.lis1"), r);
  EXPECT_EQ(r.bytes[0], 'r');
}

TEST_F(Files, FailedWriteKeepsThePreviousFile) {
  writeBytes(path("keep.lis1"), std::string(3784, 'k'));
  ParticleRecord r;
  chmod(dir.c_str(), 0555);
  {
    faults::Unprivileged as;  // root writes anywhere: act as another user
    ASSERT_TRUE(as.active());
    EXPECT_EQ(ioFailure([&] { writeSetFile(path("keep.lis1"), r); }), "File access denied");
  }
  chmod(dir.c_str(), 0755);
  EXPECT_EQ(ioFailure([&] { writeSetFile(path("missing/x.lis1"), r); }), "File not found");
  EXPECT_EQ(ioFailure([&] { writeSetFile("/dev/full/x.lis1", r); }).empty(), false);
  EXPECT_EQ(readBytes(path("keep.lis1")), std::string(3784, 'k'));
  EXPECT_EQ(fs::directory_iterator(dir) == fs::directory_iterator(), false);
  int files = 0;
  for (auto& e : fs::directory_iterator(dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 1);  // no temporary left behind
}

TEST_F(Files, ReplacingKeepsPermissions) {
  writeBytes(path("p.lis1"), "old");
  chmod(path("p.lis1").c_str(), 0640);
  writeSetFile(path("p.lis1"), ParticleRecord{});
  struct stat st {};
  stat(path("p.lis1").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(Files, StartupFileReadRule) {
  EXPECT_EQ(startupNameFromBytes("/a/b.lis1\r\n"), "/a/b.lis1");
  EXPECT_EQ(startupNameFromBytes("/a/b.lis1\n"), "/a/b.lis1\n");
  EXPECT_EQ(startupNameFromBytes(std::string("/a/b\x1a/c", 7)), "/a/b");
  EXPECT_EQ(startupNameFromBytes(""), "");
  EXPECT_FALSE(readStartupFile(path("cfg/zentrova/Start.zent")).has_value());
  createEmptyStartupFile(path("cfg/zentrova/Start.zent"));
  EXPECT_EQ(readStartupFile(path("cfg/zentrova/Start.zent")).value(), "");
  writeStartupFile(path("cfg/zentrova/Start.zent"), "/x/y z.lis1");
  EXPECT_EQ(readBytes(path("cfg/zentrova/Start.zent")), "/x/y z.lis1");
}

TEST_F(Files, StartupFileLocation) {
  const char* old = getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(startupFilePath(), "/cfg/zentrova/Start.zent");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(startupFilePath(), std::string(getenv("HOME")) + "/.config/zentrova/Start.zent");
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}
