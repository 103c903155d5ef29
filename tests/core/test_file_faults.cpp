// The file steps under real failures: every failed write must leave the
// previous file byte for byte and no temporary beside it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <functional>

#include "file_faults.h"
#include "files/commentary.h"
#include "files/file_io.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "state/errors.h"

using namespace zentrova;
using faults::bytesOf;
using faults::entries;
using faults::putBytes;
namespace fs = std::filesystem;

namespace {

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zentrova-faults-XXXXXX";
    dir = mkdtemp(tmpl);
    ::chmod(dir.c_str(), 0755);  // the unprivileged identity must reach inside
  }
  void TearDown() override {
    for (const auto& e : fs::recursive_directory_iterator(dir))
      if (e.is_directory() && !e.is_symlink()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  std::string path(const std::string& name) const { return dir + "/" + name; }
  static std::string failure(const std::function<void()>& f) {
    try {
      f();
    } catch (const IoError& e) {
      return e.what();
    }
    return "no failure";
  }
  static ParticleRecord patterned(std::uint8_t seed) {
    ParticleRecord r;
    for (std::size_t k = 0; k < r.bytes.size(); ++k) r.bytes[k] = std::uint8_t(k * 7 + seed);
    return r;
  }
  static std::string asBytes(const ParticleRecord& r) { return std::string(r.bytes.begin(), r.bytes.end()); }
  // Compared whole, but reported briefly: a record does not print well.
  static ::testing::AssertionResult same(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << got.size() << " bytes that differ from the " << want.size() << " expected";
  }

  // A set, a start-up file and a commentary in the folder, written as the
  // program writes them; then the three writes that replace them, each of
  // which must fail with the message.
  void expectAllWritesFail(const std::string& folder, const std::function<void()>& breakIt,
                           const std::string& message) {
    const std::string set = folder + "/cube.lis1", start = folder + "/Start.zent", note = commentaryPath(set);
    writeSetFile(set, patterned(1));
    writeStartupFile(start, "/some/where/old.lis1");
    saveCommentary(note, {"old", "lines"});
    breakIt();
    const auto before = entries(folder);
    ParticleSet live;
    live.A1 = 5;
    ParticleRecord record = patterned(2);
    EXPECT_EQ(failure([&] { saveSet(live, record, set); }), message) << "set";
    EXPECT_EQ(failure([&] { writeStartupFile(start, "/some/where/a/much/longer/new/name.lis1"); }), message)
        << "start-up file";
    EXPECT_EQ(failure([&] { saveCommentary(note, {"new text that is longer than the old one", "and more"}); }),
              message)
        << "commentary";
    EXPECT_TRUE(same(bytesOf(set), asBytes(patterned(1))));
    EXPECT_EQ(bytesOf(start), "/some/where/old.lis1");
    EXPECT_EQ(bytesOf(note), "old\r\nlines");
    EXPECT_EQ(entries(folder), before);  // no temporary left behind
  }

  std::string dir;
};

}  // namespace

TEST_F(FileFaults, FullDiskFailsEveryWriteAndKeepsThePreviousFiles) {
  const std::string disk = path("disk");
  fs::create_directory(disk);
  faults::TinyDisk tiny(disk);
  if (!tiny.mounted()) GTEST_SKIP() << tiny.reason();
  expectAllWritesFail(disk, [&] { ASSERT_TRUE(tiny.fill()); }, "Disk full");
}

TEST_F(FileFaults, FileSizeLimitFailsEveryWriteAndKeepsThePreviousFiles) {
  std::unique_ptr<faults::FileSizeLimit> limit;
  // Ten bytes go through, so each temporary is partly written when it fails.
  expectAllWritesFail(dir, [&] { limit = std::make_unique<faults::FileSizeLimit>(10); }, "I/O error 27");
  ASSERT_TRUE(limit && limit->active());
  limit.reset();
  // The limit is gone again: the same write now succeeds.
  writeSetFile(path("cube.lis1"), patterned(3));
  EXPECT_TRUE(same(bytesOf(path("cube.lis1")), asBytes(patterned(3))));
}

TEST_F(FileFaults, DeviceIsWrittenInPlaceAndSurvives) {
  const std::string full = faults::fullDevice(dir);
  if (full.empty()) GTEST_SKIP() << "no device that refuses data";
  EXPECT_EQ(failure([&] { writeSetFile(full, patterned(1)); }), "Disk full");
  EXPECT_TRUE(faults::isCharDevice(full));
  // A commentary or start-up file that is a link to the device fails the same
  // way, and the link stays a link.
  const std::string note = commentaryPath(path("cube.lis1"));
  fs::create_symlink(full, note);
  fs::create_symlink(full, path("Start.zent"));
  EXPECT_EQ(failure([&] { saveCommentary(note, {"text"}); }), "Disk full");
  EXPECT_EQ(failure([&] { writeStartupFile(path("Start.zent"), "/a.lis1"); }), "Disk full");
  EXPECT_TRUE(fs::is_symlink(note));
  EXPECT_TRUE(fs::is_symlink(path("Start.zent")));
  EXPECT_TRUE(faults::isCharDevice(full));
  // Empty writes (the start-up file created at start-up) go through.
  createEmptyStartupFile(path("Start.zent"));
  EXPECT_TRUE(faults::isCharDevice(full));
  std::vector<std::string> left{"Start.zent", "cube..txt"};
  if (full == path("full")) left.push_back("full");
  EXPECT_EQ(entries(dir), left);
}

TEST_F(FileFaults, PipesNeitherHangNorGetReplaced) {
  ASSERT_EQ(::mkfifo(path("pipe.lis1").c_str(), 0644), 0);
  ::alarm(20);  // a hang ends the test process instead of the whole run
  ParticleRecord r = patterned(4);
  // No writer: the pipe reads as empty, which is too short for a record.
  EXPECT_EQ(failure([&] { readSetFile(path("pipe.lis1"), r); }), "Read beyond end of file");
  EXPECT_TRUE(same(asBytes(r), asBytes(patterned(4))));
  EXPECT_EQ(readStartupFile(path("pipe.lis1")), std::optional<std::string>(""));
  // No reader: nowhere for the record to go.
  EXPECT_EQ(failure([&] { writeSetFile(path("pipe.lis1"), r); }), "I/O error 6");
  ::alarm(0);
  EXPECT_TRUE(fs::is_fifo(path("pipe.lis1")));
  EXPECT_EQ(entries(dir), std::vector<std::string>{"pipe.lis1"});
}

// Where no temporary file can be made beside the target, a target that may
// itself be written is written in place; a link with no file behind it is
// written through.
TEST_F(FileFaults, SavesAPlainWriteCouldDoAreNotRefused) {
  const std::string folder = path("locked");
  fs::create_directory(folder);
  const std::string set = folder + "/cube.lis1", start = folder + "/Start.zent", note = commentaryPath(set);
  writeSetFile(set, patterned(1));
  writeStartupFile(start, "/some/where/old.lis1");
  saveCommentary(note, {"old", "lines"});
  for (const auto& name : entries(folder)) ::chmod((folder + "/" + name).c_str(), 0666);
  ::chmod(folder.c_str(), 0555);
  const auto before = entries(folder);
  {
    faults::Unprivileged as;
    ASSERT_TRUE(as.active()) << "could not act as an unprivileged user";
    ParticleRecord record = patterned(2);
    writeSetFile(set, record);
    writeStartupFile(start, "/some/where/a/much/longer/new/name.lis1");
    saveCommentary(note, {"new"});
    // A new file cannot be made there, nor the start-up file's folder.
    EXPECT_EQ(failure([&] { writeSetFile(folder + "/new.lis1", record); }), "File access denied");
    EXPECT_EQ(failure([&] { createEmptyStartupFile(folder + "/zentrova/Start.zent"); }), "File access denied");
  }
  EXPECT_TRUE(same(bytesOf(set), asBytes(patterned(2))));
  EXPECT_EQ(bytesOf(start), "/some/where/a/much/longer/new/name.lis1");
  EXPECT_EQ(bytesOf(note), "new");
  EXPECT_EQ(entries(folder), before);

  // The longest name a folder allows leaves no room for a temporary's suffix.
  const std::string longest = path(std::string(255 - 5, 'n') + ".lis1");
  writeSetFile(longest, patterned(3));
  EXPECT_TRUE(same(bytesOf(longest), asBytes(patterned(3))));
  writeSetFile(longest, patterned(4));
  EXPECT_TRUE(same(bytesOf(longest), asBytes(patterned(4))));

  // A dangling link, relative to its own folder.
  fs::create_directory(path("real"));
  ASSERT_EQ(::symlink("real/target.lis1", path("link.lis1").c_str()), 0);
  writeSetFile(path("link.lis1"), patterned(5));
  EXPECT_TRUE(fs::is_symlink(path("link.lis1")));
  EXPECT_TRUE(same(bytesOf(path("real/target.lis1")), asBytes(patterned(5))));
}

// In a sticky folder anyone may write to, a save follows only a link of the
// user's own or of the folder's owner, as an open would under protected
// symlinks; a replaced file keeps its owner, group and mode.
TEST_F(FileFaults, PlantedLinksAreNotFollowedAndReplacedFilesKeepTheirOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving files to another user needs root";
  const std::string shared = path("shared"), victim = path("victim.lis1"), link = shared + "/planted.lis1";
  fs::create_directory(shared);
  ::chmod(shared.c_str(), 01777);
  writeSetFile(victim, patterned(1));
  ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
  ASSERT_EQ(::lchown(link.c_str(), faults::kNobody, faults::kNobody), 0);
  EXPECT_EQ(failure([&] { writeSetFile(link, patterned(2)); }), "File access denied");
  EXPECT_EQ(failure([&] { checkWritable(link); }), "File access denied");
  EXPECT_TRUE(same(bytesOf(victim), asBytes(patterned(1))));
  EXPECT_TRUE(fs::is_symlink(link));
  ASSERT_EQ(::lchown(link.c_str(), ::geteuid(), ::getegid()), 0);  // the folder's owner's own
  writeSetFile(link, patterned(3));
  EXPECT_TRUE(same(bytesOf(victim), asBytes(patterned(3))));

  ASSERT_EQ(::chown(victim.c_str(), faults::kNobody, faults::kNobody), 0);
  ::chmod(victim.c_str(), 0640);
  writeSetFile(victim, patterned(4));
  struct stat st {};
  ASSERT_EQ(::stat(victim.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, faults::kNobody);
  EXPECT_EQ(st.st_gid, faults::kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_TRUE(same(bytesOf(victim), asBytes(patterned(4))));
}

// In a write-protected folder a writable file is written in place; a new
// contents that does not fit must fail before the old one changes.
TEST_F(FileFaults, InPlaceWriteWithoutRoomKeepsTheOldFile) {
  const std::string old(3000, 'o'), bigger(20000, 'n');
  const auto expectKept = [&](const std::string& folder, const std::function<void()>& breakIt,
                              const std::string& message) {
    const std::string file = folder + "/old.png";
    putBytes(file, old);
    ::chmod(file.c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    breakIt();
    {
      faults::Unprivileged as;
      ASSERT_TRUE(as.active());
      EXPECT_EQ(failure([&] {
                  writeFileReplacing(file, reinterpret_cast<const std::uint8_t*>(bigger.data()), bigger.size());
                }),
                message);
    }
    EXPECT_EQ(bytesOf(file), old);
  };
  {
    faults::FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.active());
    expectKept(dir, [] {}, "I/O error 27");
  }
  const std::string disk = path("disk");
  ::chmod(dir.c_str(), 0755);
  fs::create_directory(disk);
  faults::TinyDisk tiny(disk);
  if (!tiny.mounted()) GTEST_SKIP() << tiny.reason();
  expectKept(disk, [&] { ASSERT_TRUE(tiny.fill()); }, "Disk full");
  EXPECT_EQ(entries(disk), (std::vector<std::string>{"filler", "old.png"}));
}

// What a program ending on a signal calls from its handler: a write that was
// under way leaves neither its temporary nor a half-written target.
TEST_F(FileFaults, SignalHandlerRemovesTheTemporaryOfAWriteUnderWay) {
  const std::string target = path("frame.png");
  const std::string bytes(1 << 20, 'f');
  for (int round = 0; round < 10; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      struct sigaction ending {};
      ending.sa_handler = [](int) {
        removePendingTemporary();
        ::_exit(3);
      };
      ::sigaction(SIGTERM, &ending, nullptr);
      // Odd rounds as recorded frames are written: synced only now and then.
      UnsyncedFiles unsynced;
      for (int n = 1;; ++n) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        if (round % 2 == 0) {
          writeFileReplacing(target, data, bytes.size());
        } else {
          unsynced.add(writeFileReplacingUnsynced(target, data, bytes.size()), target);
          if (n % 8 == 0) unsynced.sync();
        }
      }
    }
    ::usleep(useconds_t(30000 + 7000 * round));
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    const auto left = entries(dir);
    EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"frame.png"}) << left.back();
    if (!left.empty()) {
      EXPECT_TRUE(same(bytesOf(target), bytes));
    }
  }
}

TEST_F(FileFaults, UnsyncedWritesAreWholeAtOnceAndLeaveNoDescriptorOpenAfterTheirSync) {
  const auto openFiles = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
  };
  const auto before = openFiles();
  putBytes(path("frame-0.png"), "old");
  fs::permissions(path("frame-0.png"), fs::perms(0640));
  UnsyncedFiles unsynced;
  for (int n = 0; n < 300; ++n) {  // more than are kept open
    const std::string name = path("frame-" + std::to_string(n) + ".png"), bytes(1000 + n, char(n));
    unsynced.add(writeFileReplacingUnsynced(name, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                 name);
    ASSERT_EQ(bytesOf(name), bytes) << n;
  }
  EXPECT_EQ(fs::status(path("frame-0.png")).permissions(), fs::perms(0640));
  unsynced.sync();
  EXPECT_EQ(openFiles(), before);
  EXPECT_EQ(entries(dir).size(), 300u);  // no temporary left
  unsynced.sync();  // nothing more to do
}

TEST_F(FileFaults, WriteProtectedFileIsNotReplacedAndUnreadableFilesDoNotOpen) {
  const std::string folder = path("open");
  fs::create_directory(folder);
  ::chmod(folder.c_str(), 0777);  // anyone may create files here
  const std::string set = folder + "/ro.lis1", hidden = folder + "/hidden.lis1";
  writeSetFile(set, patterned(1));
  writeSetFile(hidden, patterned(2));
  ::chmod(set.c_str(), 0444);
  ::chmod(hidden.c_str(), 0);
  putBytes(folder + "/Start.zent", hidden);
  ::chmod((folder + "/Start.zent").c_str(), 0);
  putBytes(commentaryPath(hidden), "secret");
  ::chmod(commentaryPath(hidden).c_str(), 0);
  const auto before = entries(folder);
  ParticleRecord r = patterned(3);
  {
    faults::Unprivileged as;
    ASSERT_TRUE(as.active());
    EXPECT_EQ(failure([&] { writeSetFile(set, patterned(5)); }), "File access denied");
    EXPECT_EQ(failure([&] { readSetFile(hidden, r); }), "File access denied");
    // Probed opens fail silently.
    EXPECT_FALSE(readStartupFile(folder + "/Start.zent").has_value());
    EXPECT_FALSE(loadCommentary(commentaryPath(hidden)).has_value());
    // The write-protected set still reads.
    readSetFile(set, r);
  }
  EXPECT_TRUE(same(asBytes(r), asBytes(patterned(1))));
  EXPECT_TRUE(same(bytesOf(set), asBytes(patterned(1))));
  EXPECT_EQ(entries(folder), before);
}

TEST_F(FileFaults, FilesThatVanishOrTurnIntoFolders) {
  const std::string set = path("gone.lis1");
  writeSetFile(set, patterned(1));
  ParticleRecord r = patterned(2);
  fs::remove(set);
  EXPECT_EQ(failure([&] { readSetFile(set, r); }), "File not found");
  fs::create_directory(set);
  EXPECT_EQ(failure([&] { readSetFile(set, r); }), "File access denied");
  EXPECT_EQ(failure([&] { writeSetFile(set, r); }), "File access denied");
  EXPECT_TRUE(fs::is_directory(set));
  EXPECT_TRUE(fs::is_empty(set));
  EXPECT_TRUE(same(asBytes(r), asBytes(patterned(2))));  // the buffer keeps its bytes
  // A folder where the commentary or the start-up file should be is, for
  // the probed opens, no file at all.
  fs::create_directory(commentaryPath(set));
  EXPECT_FALSE(loadCommentary(commentaryPath(set)).has_value());
  EXPECT_EQ(failure([&] { saveCommentary(commentaryPath(set), {"x"}); }), "File access denied");
  EXPECT_FALSE(readStartupFile(set).has_value());
  EXPECT_EQ(failure([&] { writeStartupFile(set, "/a.lis1"); }), "File access denied");
  // The folder itself disappears.
  const std::string sub = path("sub");
  fs::create_directory(sub);
  writeSetFile(sub + "/a.lis1", r);
  fs::remove_all(sub);
  EXPECT_EQ(failure([&] { writeSetFile(sub + "/a.lis1", r); }), "File not found");
  EXPECT_EQ(failure([&] { readSetFile(sub + "/a.lis1", r); }), "File not found");
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"gone..txt", "gone.lis1"}));
}

TEST_F(FileFaults, EndlessFilesAreReadOnlyUpToALimit) {
  ASSERT_EQ(::symlink("/dev/zero", path("Start.zent").c_str()), 0);
  ASSERT_EQ(::symlink("/dev/zero", path("cube..txt").c_str()), 0);
  // The start-up name is its first line, so a bounded read gives the same name.
  const auto name = readStartupFile(path("Start.zent"));
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(name->size(), 65536u);
  // A commentary too large to show is refused, not cut short.
  EXPECT_EQ(failure([&] { loadCommentary(path("cube..txt")); }), "I/O error 27");
}
