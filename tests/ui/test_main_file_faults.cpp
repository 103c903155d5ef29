// The file commands of the main window under real file failures, and a run
// that faults part way: the message that reaches the error box, the files on
// disk and the state the window keeps.
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <thread>

#include "../core/file_faults.h"
#include "TEditDlg.h"
#include "editor_controls.h"
#include "files/commentary.h"
#include "files/set_file.h"
#include "main_window_fixture.h"
#include "termination_signals.h"
#include "view_area.h"

using namespace zentrova;
using faults::entries;
namespace fs = std::filesystem;

namespace {

// Lets a test change the files while a file dialog is open, as another
// program could between the user's choice and the read.
class HookedDialogs : public ScriptedDialogs {
 public:
  std::function<void()> whileOpenDialog, whileSaveDialog;
  std::optional<QString> openSetFileName(QWidget* parent, const QString& last) override {
    if (whileOpenDialog) whileOpenDialog();
    return ScriptedDialogs::openSetFileName(parent, last);
  }
  std::optional<QString> saveSetFileName(QWidget* parent, const QString& last) override {
    if (whileSaveDialog) whileSaveDialog();
    return ScriptedDialogs::saveSetFileName(parent, last);
  }
};

// What the window shows and holds of the set; compared before and after a
// command that must not load anything.
struct Shown {
  Real a1, x1, ux1, dt;
  std::int64_t time;
  QString cell11, cell13, ltime, dtField, memo;
  bool operator==(const Shown&) const = default;
};

class MainFileFaults : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ::chmod(dir.c_str(), 0755);  // the unprivileged identity must reach inside
    setDialogProvider(&hd);
  }
  void TearDown() override {
    disk.reset();
    if (fs::exists(dir))
      for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_directory() && !e.is_symlink()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
    MainWindowTest::TearDown();
  }

  // A set whose values tell it apart from others: A1 = X of particle 1 = seed.
  std::string writeSet(const std::string& path, int seed) {
    ParticleSet s;
    s.Count = 60;
    s.Dt = 0.25L;
    s.A1 = seed;
    s.setPresent(1, true);
    s.X[0] = seed;
    s.Ux[0] = seed + 0.5L;
    s.setPresent(3, true);
    s.Z[2] = -seed;
    ParticleRecord r;
    r.bytes[10] = std::uint8_t(seed);  // padding, which saving must carry along
    saveSet(s, r, path);
    return path;
  }
  Shown shown() {
    const auto& s = app.set;
    return {s.A1, s.X[0], s.Ux[0], s.Dt, s.Time, cell(1, 1), cell(1, 3), ui().LTime->text(),
            ui().EditDT->text(), ui().Comment->toPlainText()};
  }
  // Leaves the memo holding the text and answers Yes to saving it.
  void saveCommentary(const QString& text) {
    ui().PageControl->setCurrentIndex(1);
    ui().Comment->setFocus();
    ui().Comment->setPlainText(text);
    hd.confirmAnswers.push_back(true);
    ui().EditDT->setFocus();
    QApplication::processEvents();
  }
  static QString q(const std::string& s) { return QString::fromStdString(s); }

  HookedDialogs hd;
  std::unique_ptr<faults::TinyDisk> disk;
};

}  // namespace

// Save, the commentary and Save As on a disk with no room: a tmpfs filled to
// the brim where one can be mounted, else a file size limit.
TEST_F(MainFileFaults, NoRoomLeftKeepsTheFilesAndTheSet) {
  const std::string folder = dir + "/disk";
  fs::create_directory(folder);
  disk = std::make_unique<faults::TinyDisk>(folder);
  const std::string set = writeSet(folder + "/cube.lis1", 3);
  writeFile(folder + "/cube..txt", "old note");
  pointStartupAt(set);
  open();
  ASSERT_TRUE(errors.isEmpty());
  const std::string setBytes = readFile(set), startBytes = readFile(app.startupPath);

  std::unique_ptr<faults::FileSizeLimit> limit;
  QString message = "Disk full.";
  if (disk->mounted()) {
    ASSERT_TRUE(disk->fill());
  } else {
    limit = std::make_unique<faults::FileSizeLimit>(10);
    ASSERT_TRUE(limit->active());
    message = "I/O error 27.";
  }
  const auto files = entries(folder);
  app.set.A1 = 9;  // a change that the failed saves must not lose
  ui().Save1->trigger();
  EXPECT_EQ(errors, QStringList{message});
  EXPECT_TRUE(readFile(set) == setBytes);
  EXPECT_EQ(app.set.A1, 9);

  saveCommentary("new note\nsecond line");
  EXPECT_EQ(errors.value(1), message);
  EXPECT_EQ(readFile(folder + "/cube..txt"), "old note");
  EXPECT_EQ(ui().Comment->toPlainText(), "new note\nsecond line");
  EXPECT_FALSE(window->commentChanged());

  hd.saveAnswers.push_back(q(folder + "/copy.lis1"));
  ui().Saveas1->trigger();
  EXPECT_EQ(errors.value(2), message);
  EXPECT_EQ(errors.size(), 3);
  // The name changed before the write; the start-up file is not rewritten.
  EXPECT_EQ(app.set.SetFileName, folder + "/copy.lis1");
  EXPECT_EQ(ui().FName->text(), q(folder + "/copy.lis1"));
  EXPECT_EQ(readFile(app.startupPath), startBytes);
  EXPECT_EQ(entries(folder), files);  // no copy, no temporary
  limit.reset();
}

// The start-up file is a link to a device that takes no data: Open has read
// the set but must not load it; Save As has written the set already.
TEST_F(MainFileFaults, StartupFileThatCannotBeWritten) {
  pointStartupAt(writeSet(dir + "/first.lis1", 1));
  open();
  const std::string full = faults::fullDevice(dir);
  if (full.empty()) GTEST_SKIP() << "no device that refuses data";
  fs::create_directories(dir + "/cfg");
  app.startupPath = dir + "/cfg/Start.zent";
  fs::create_symlink(full, app.startupPath);
  app.set.Time = 7;
  const Shown before = shown();

  const std::string other = writeSet(dir + "/other.lis1", 2);
  hd.openAnswers.push_back(q(other));
  ui().Open1->trigger();
  EXPECT_EQ(errors, QStringList{"Disk full."});
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_EQ(app.set.SetFileName, other);
  EXPECT_EQ(ui().FName->text(), q(other));
  EXPECT_TRUE(shown() == before);  // neither loaded nor refreshed
  EXPECT_EQ(app.record.bytes[10], 2);  // though the record was read

  hd.saveAnswers.push_back(q(dir + "/saved.lis1"));
  ui().Saveas1->trigger();
  EXPECT_EQ(errors.value(1), "Disk full.");
  EXPECT_EQ(app.set.SetFileName, dir + "/saved.lis1");
  ASSERT_EQ(fs::file_size(dir + "/saved.lis1"), 3784u);
  ParticleRecord back;
  readSetFile(dir + "/saved.lis1", back);
  EXPECT_EQ(back.real(ParticleRecord::kA1), 1);  // the live set, not the one Open read
  EXPECT_TRUE(fs::is_symlink(app.startupPath));
  EXPECT_TRUE(faults::isCharDevice(full));
}

// A folder the user may not write to, holding files the user may write:
// Save, the commentary and the start-up file on Open write those files in
// place; only a new file there, the velocity reset's Save As, is refused.
TEST_F(MainFileFaults, FolderWithoutWritePermission) {
  const std::string locked = dir + "/locked";
  fs::create_directory(locked);
  const std::string set = writeSet(locked + "/cube.lis1", 4);
  writeFile(locked + "/cube..txt", "kept");
  for (const auto& name : entries(locked)) ::chmod((locked + "/" + name).c_str(), 0666);
  pointStartupAt(set);
  const std::string other = writeSet(dir + "/other.lis1", 5);
  open();
  ::chmod(locked.c_str(), 0555);
  ::chmod(app.startupPath.c_str(), 0666);  // only its folder refuses
  ::chmod((dir + "/config/zentrova").c_str(), 0555);
  const auto files = entries(locked);
  faults::Unprivileged as;
  ASSERT_TRUE(as.active()) << "could not act as an unprivileged user";

  app.set.A1 = 9;
  ui().Save1->trigger();
  EXPECT_TRUE(errors.isEmpty());
  ParticleRecord back;
  readSetFile(set, back);
  EXPECT_EQ(back.real(ParticleRecord::kA1), 9);
  saveCommentary("changed");
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(readFile(locked + "/cube..txt"), "changed");

  hd.saveAnswers.push_back(q(locked + "/rest.lis1"));
  ui().Null00->click();
  EXPECT_EQ(errors, QStringList{"File access denied."});
  EXPECT_EQ(ui().Null00->text(), "Yes Null");
  EXPECT_EQ(app.set.Ux[0], 0.0L);  // zeroed before the save, and stays so
  EXPECT_EQ(app.set.SetFileName, locked + "/rest.lis1");

  hd.openAnswers.push_back(q(other));
  ui().Open1->trigger();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(readFile(app.startupPath), other);
  EXPECT_EQ(entries(locked), files);
}

// The chosen file goes away, turns into a folder or becomes unreadable
// while the open dialog is still up.
TEST_F(MainFileFaults, OpenOfAFileThatChangedUnderTheDialog) {
  pointStartupAt(writeSet(dir + "/first.lis1", 1));
  writeFile(dir + "/first..txt", "first note");
  open();
  app.set.Time = 7;
  const Shown before = shown();
  const std::string startBytes = readFile(app.startupPath);
  const std::string chosen = dir + "/chosen.lis1";

  struct Case {
    std::function<void()> change;
    QString message;
    bool unprivileged;
  };
  const Case cases[] = {
      {[&] { fs::remove(chosen); }, "File not found.", false},
      {[&] {
         fs::remove(chosen);
         fs::create_directory(chosen);
       },
       "File access denied.", false},
      {[&] { ::chmod(chosen.c_str(), 0); }, "File access denied.", true},
  };
  for (const Case& c : cases) {
    errors.clear();
    fs::remove_all(chosen);
    writeSet(chosen, 2);
    writeFile(dir + "/chosen..txt", "chosen note");
    std::unique_ptr<faults::Unprivileged> as;
    hd.whileOpenDialog = [&] {
      c.change();
      if (c.unprivileged) as = std::make_unique<faults::Unprivileged>();
    };
    hd.openAnswers.push_back(q(chosen));
    ui().Open1->trigger();
    ASSERT_TRUE(!c.unprivileged || (as && as->active())) << "could not act as an unprivileged user";
    as.reset();
    EXPECT_EQ(errors, QStringList{c.message});
    // What Open did before the read stays done; nothing after it happened.
    EXPECT_FALSE(app.set.FigureMode);
    EXPECT_TRUE(ui().Go->isEnabled());
    EXPECT_EQ(app.set.SetFileName, chosen);
    EXPECT_EQ(ui().FName->text(), q(chosen));
    EXPECT_TRUE(shown() == before) << c.message.toStdString();
    EXPECT_EQ(readFile(app.startupPath), startBytes);
  }
}

// Save and Save As when the set's file or folder was replaced or removed,
// and the commentary when a folder took its name.
TEST_F(MainFileFaults, SaveIntoAPathThatChanged) {
  const std::string set = writeSet(dir + "/cube.lis1", 1);
  pointStartupAt(set);
  open();
  const std::string startBytes = readFile(app.startupPath);

  fs::remove(set);
  fs::create_directory(set);
  ui().Save1->trigger();
  EXPECT_EQ(errors, QStringList{"File access denied."});
  EXPECT_TRUE(fs::is_directory(set) && fs::is_empty(set));

  fs::create_directory(dir + "/cube..txt");
  saveCommentary("note");
  EXPECT_EQ(errors.value(1), "File access denied.");
  EXPECT_TRUE(fs::is_directory(dir + "/cube..txt") && fs::is_empty(dir + "/cube..txt"));

  fs::create_directory(dir + "/sub");
  hd.whileSaveDialog = [&] { fs::remove_all(dir + "/sub"); };
  hd.saveAnswers.push_back(q(dir + "/sub/x.lis1"));
  ui().Saveas1->trigger();
  EXPECT_EQ(errors.value(2), "File not found.");
  EXPECT_EQ(app.set.SetFileName, dir + "/sub/x.lis1");
  EXPECT_EQ(readFile(app.startupPath), startBytes);
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"config", "cube..txt", "cube.lis1"}));
}

// At start-up the set probe falls back silently; a start-up file that cannot
// be created is reported, and start-up still finishes.
TEST_F(MainFileFaults, StartupWithFoldersWhereFilesShouldBe) {
  fs::create_directory(dir + "/cube.lis1");
  pointStartupAt(dir + "/cube.lis1");
  open();
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(ui().FName->text(), "The easy square");
  window.reset();

  fs::remove(app.startupPath);
  fs::create_directory(app.startupPath);
  app.set.Stopped = false;
  app.view.PanStep = 0;
  open();
  EXPECT_EQ(errors, QStringList{"File access denied."});
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(app.view.PanStep, 5.0L);
  EXPECT_EQ(cell(60, 0), "60");
  EXPECT_TRUE(fs::is_directory(app.startupPath));
}

// The editor's OK when the start-up file cannot be rewritten: the set file is
// written and the names have changed, the copies are not synchronised, and
// New still takes the set.
TEST_F(MainFileFaults, EditorOkWithAStartupFileThatCannotBeWritten) {
  pointStartupAt(writeSet(dir + "/first.lis1", 1));
  open();
  TEditDlg editor(app, [] { return false; }, window.get());
  window->setEditor(&editor);
  const std::string shared = dir + "/shared";
  fs::create_directory(shared);
  ::chmod(shared.c_str(), 0777);
  ::chmod((dir + "/config/zentrova").c_str(), 0555);
  const std::string startBytes = readFile(app.startupPath);
  app.set.X[0] = 42;  // as Submit would have stored it
  hd.saveAnswers.push_back(q(shared + "/new.lis1"));
  hd.modalAnswers.push_back(QDialog::Accepted);
  hd.onModal = [&](QDialog*) {
    editor.FormPaint();
    EditorControls(editor).OKBtn->click();
  };
  {
    faults::Unprivileged as;
    ASSERT_TRUE(as.active());
    ui().New1->trigger();
  }
  EXPECT_EQ(errors, QStringList{"File access denied."});
  EXPECT_EQ(fs::file_size(shared + "/new.lis1"), 3784u);
  EXPECT_EQ(app.set.SetFileName, shared + "/new.lis1");
  EXPECT_EQ(app.set.StartName, shared + "/new.lis1");
  EXPECT_EQ(readFile(app.startupPath), startBytes);
  EXPECT_EQ(app.set.X1[0], 1);  // the handler stopped before the copies
  EXPECT_EQ(app.set.DrawX[0], 1);
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_EQ(ui().FName->text(), q(shared + "/new.lis1"));
  EXPECT_EQ(entries(shared), std::vector<std::string>{"new.lis1"});
}

// A run whose second step faults: the time, the committed positions, the
// drawing positions, the picture, the listing and the step buffers all stay
// at step 1, and the window shows that nothing runs any more.
TEST_F(MainFileFaults, FaultInALaterStepKeepsTheLastCompletedStep) {
  // With the three groups' laws switched off no force acts, though the law
  // is still evaluated: particle 1 drifts, and 2 and 3 meet after one step,
  // which makes their distance zero in the second.
  ParticleSet s;
  s.Count = 60;
  s.Dt = 1;
  s.A1 = s.A2 = s.A3 = 1;
  s.B1 = 2.718L;
  s.B2 = s.B3 = 0.3L;
  s.C2 = s.C3 = 0.671L;
  s.D2 = s.D3 = 1.2L;
  for (int i = 1; i <= 3; ++i) s.setPresent(i, true);
  s.X[0] = -5, s.Ux[0] = 0.5L;
  s.X[1] = 0, s.Ux[1] = 1;
  s.X[2] = 2, s.Ux[2] = -1;
  ParticleRecord r;
  saveSet(s, r, dir + "/meet.lis1");
  pointStartupAt(dir + "/meet.lis1");
  open();
  window->LTimeDblClick();  // show the counter
  ui().CheckBox1->setChecked(true);
  ui().CheckBox2->setChecked(true);
  ui().CheckBox3->setChecked(true);

  window->StepOnceClick();  // step 1, drawn and listed
  const QImage afterFirst = ui().ViewArea->image().copy();
  const QString listedAfterFirst = cell(2, 1);
  ui().Go->click();  // step 2 faults
  waitForRunEnd(app);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Floating point division by zero.");
  EXPECT_EQ(app.set.Time, 1);
  EXPECT_EQ(ui().LTime->text(), "1");
  EXPECT_EQ(app.set.X[0], -4.5L);
  EXPECT_EQ(app.set.X[1], 1);
  EXPECT_EQ(app.set.X[2], 1);
  EXPECT_EQ(app.set.DrawX[0], -4.5L);
  EXPECT_EQ(app.set.X1[0], -4.5L);  // its share of the failed step is undone
  EXPECT_EQ(app.set.X1[1], 1);
  EXPECT_EQ(listedAfterFirst, "1");
  EXPECT_EQ(cell(1, 1), num("-4.5"));
  EXPECT_EQ(cell(2, 1), "1");
  EXPECT_TRUE(ui().ViewArea->image() == afterFirst);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(ui().Go->text(), "Go");
  EXPECT_TRUE(ui().ShapeRed->styleSheet().contains("128, 0, 0"));
  EXPECT_TRUE(ui().Images->isEnabled());
  EXPECT_TRUE(ui().Null00->isEnabled());
  // The screen shows that last step.
  EXPECT_TRUE(ui().ViewArea->updatesEnabled());
  EXPECT_TRUE(ui().DaonsTable->viewport()->updatesEnabled());

  ui().Go->click();  // the same step faults again, from the same state
  waitForRunEnd(app);
  EXPECT_EQ(errors.size(), 2);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(app.set.Time, 1);
  EXPECT_EQ(app.set.X[0], -4.5L);
  EXPECT_EQ(app.set.X1[0], -4.5L);
}

// SIGTERM, SIGINT or SIGHUP at any moment of a run that records frames: the
// event loop ends with 128 plus the signal's number, nothing is asked though
// the commentary was edited, and every frame is whole with no temporary left.
TEST_F(MainFileFaults, EndingSignalsDuringARecordingRunLeaveNoTemporary) {
  fs::copy_file(dataFile("set-a.lis1"), dir + "/a.lis1");
  pointStartupAt(dir + "/a.lis1");
  open();
  ui().Comment->setPlainText("edited, never to be saved");
  const std::string frames = dir + "/frames";
  fs::create_directories(frames);
  hd.folderAnswers = {q(frames)};
  window->findChild<QAction*>("RecordFrames")->trigger();
  QTimer watchdog;  // a signal that went unnoticed fails rather than hangs
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
  int round = 0;
  for (const int n : {SIGTERM, SIGINT, SIGHUP}) {
    TerminationSignals ending(app.set);
    QTimer::singleShot(0, [&] { ui().Go->click(); });
    std::thread sender([n, round] {
      std::this_thread::sleep_for(std::chrono::milliseconds(150 + 37 * round));
      ::kill(::getpid(), n);
    });
    watchdog.start(30000);
    const int code = QApplication::exec();
    sender.join();
    EXPECT_EQ(code, 128 + n);
    EXPECT_EQ(ending.exitCode(), 128 + n);
    EXPECT_TRUE(app.set.Stopped);
    ++round;
  }
  EXPECT_EQ(hd.asked, QStringList{"folder"});
  EXPECT_TRUE(errors.isEmpty());
  const auto names = entries(frames);
  ASSERT_FALSE(names.empty());
  for (const auto& name : names) {
    EXPECT_EQ(name.size(), std::string("frame-000001.png").size()) << name;
    EXPECT_FALSE(QImage(q(frames + "/" + name)).isNull()) << name;
  }
  EXPECT_FALSE(fs::exists(commentaryPath(dir + "/a.lis1")));
}
