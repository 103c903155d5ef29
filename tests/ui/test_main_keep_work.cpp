// The window keeps the user's work: Undo and Redo, the Save question, values
// that count at once, numbers never shown cut, a view that keeps the set in
// sight, and commentaries written back exactly as they were read.
#include <sys/stat.h>

#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include "files/set_file.h"
#include "main_window_fixture.h"
#include "number_cell.h"
#include "state/set_snapshot.h"

using namespace zentrova;

namespace {

std::string copyOf(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  return to;
}

std::string example(const std::string& name) { return std::string(ZENTROVA_TEST_DATA) + "/../../examples/" + name; }

// Everything Undo must bring back, as bytes: the record Save would write and
// the step counter.
struct Shape {
  std::array<std::uint8_t, ParticleRecord::kSize> record;
  std::int64_t time;
  bool figure;
  bool operator==(const Shape&) const = default;
};
Shape shapeOf(const AppState& app) { return {recordOf(app.set, app.record).bytes, app.set.Time, app.set.FigureMode}; }

// Runs until at least `steps` steps were made, stopping from inside the run.
void runFor(Ui::TMainForm& ui, AppState& app, std::int32_t steps) {
  const std::int32_t from = app.set.Time;
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (app.set.Time - from >= steps && !app.set.Stopped) ui.Go->click();
  });
  stopper.start(1);
  ui.Go->click();
  waitForRunEnd(app);
}

int particlesInView(const AppState& app, int w, int h) {
  int n = 0;
  for (int i = 1; i <= 60; ++i)
    if (app.set.present(i) && app.view.ScreenX[i - 1] >= 0 && app.view.ScreenY[i - 1] >= 0 &&
        app.view.ScreenX[i - 1] < w && app.view.ScreenY[i - 1] < h)
      ++n;
  return n;
}

}  // namespace

TEST_F(MainWindowTest, UndoAndRedoBringBackEverySetBitForBit) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  std::vector<Shape> shapes{shapeOf(app)};
  EXPECT_FALSE(ui().Undo1->isEnabled());

  runFor(ui(), app, 5);
  shapes.push_back(shapeOf(app));
  EXPECT_EQ(ui().Undo1->text(), "Undo " + TMainForm::runText(app.set.Time));
  EXPECT_EQ(TMainForm::runText(12345), QString("Run of 12\u00a0345 steps"));

  ui().EditDT->setFocus();
  ui().EditDT->clear();
  QTest::keyClicks(ui().EditDT, num("0.25"));
  ui().EditB2->setFocus();
  QApplication::processEvents();
  shapes.push_back(shapeOf(app));
  EXPECT_EQ(ui().Undo1->text(), "Undo Change of dt");

  w.StepOnceClick();
  w.StepOnceClick();  // consecutive single steps are one command
  shapes.push_back(shapeOf(app));
  EXPECT_EQ(ui().Undo1->text(), "Undo " + TMainForm::singleStepsText(2));

  ui().Null00->click();  // the save dialog is cancelled
  shapes.push_back(shapeOf(app));
  EXPECT_EQ(ui().Undo1->text(), "Undo Velocity Reset");

  ui().Spiral1->trigger();
  shapes.push_back(shapeOf(app));
  EXPECT_TRUE(app.set.FigureMode);
  EXPECT_EQ(w.undoStack()->count(), 5);

  for (int k = int(shapes.size()) - 2; k >= 0; --k) {
    ui().Undo1->trigger();
    EXPECT_TRUE(shapeOf(app) == shapes[k]) << "after undoing to state " << k;
    EXPECT_EQ(ui().Go->isEnabled(), !app.set.FigureMode);
  }
  EXPECT_FALSE(ui().Undo1->isEnabled());
  EXPECT_EQ(ui().EditDT->text(), realText(app.set.Dt));
  EXPECT_EQ(cell(1, 1), realText(app.set.X[0]));
  for (std::size_t k = 1; k < shapes.size(); ++k) {
    ui().Redo1->trigger();
    EXPECT_TRUE(shapeOf(app) == shapes[k]) << "after redoing to state " << k;
  }
  EXPECT_TRUE(errors.isEmpty());

  // Undo waits while a run goes; Save makes a new history.
  ui().Undo1->trigger();
  ui().Undo1->trigger();
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(ui().Undo1->isEnabled());
    ui().Go->click();
  });
  ui().Go->click();
  waitForRunEnd(app);
  EXPECT_TRUE(ui().Undo1->isEnabled());
  ui().Save1->trigger();
  EXPECT_FALSE(ui().Undo1->isEnabled());
  EXPECT_FALSE(w.setChanged());
}

TEST_F(MainWindowTest, SaveQuestionOnExitAndOpen) {
  const std::string a = copyOf(dataFile("set-a.lis1"), dir + "/a.lis1");
  const std::string b = copyOf(dataFile("set-b.lis1"), dir + "/b.lis1");
  const std::string original = readFile(a);
  pointStartupAt(a);
  auto& w = open();
  EXPECT_EQ(w.windowTitle(), "a.lis1 \u2014 Zentrova");
  w.close();  // nothing changed: no question
  EXPECT_TRUE(dlg.asked.isEmpty());

  open();
  window->StepOnceClick();
  EXPECT_EQ(window->windowTitle(), "a.lis1* \u2014 Zentrova");
  const QString question = "Save changes to a.lis1?";
  // Exit: Cancel keeps everything, Discard leaves without writing.
  dlg.saveChangesAnswers = {SaveAnswer::Cancel};
  ui().Exit1->trigger();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(dlg.asked.last(), question);
  EXPECT_TRUE(window->setChanged());
  dlg.saveChangesAnswers = {SaveAnswer::Discard};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(readFile(a), original);

  // Exit with Save writes what Save writes.
  open();
  window->StepOnceClick();
  const auto stepped = recordOf(app.set, app.record).bytes;
  dlg.saveChangesAnswers = {SaveAnswer::Save};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(readFile(a), std::string(stepped.begin(), stepped.end()));

  // Open: Cancel asks for no file, Discard and Save go on to the open dialog.
  copyOf(dataFile("set-a.lis1"), a);
  open();
  window->StepOnceClick();
  const std::int32_t time = app.set.Time;
  dlg.asked.clear();
  dlg.saveChangesAnswers = {SaveAnswer::Cancel};
  ui().Open1->trigger();
  EXPECT_EQ(dlg.asked, QStringList{question});
  EXPECT_EQ(app.set.Time, time);
  dlg.saveChangesAnswers = {SaveAnswer::Discard};
  dlg.openAnswers = {QString::fromStdString(b)};
  ui().Open1->trigger();
  EXPECT_EQ(app.set.SetFileName, b);
  EXPECT_EQ(readFile(a), original);
  EXPECT_EQ(window->windowTitle(), "b.lis1 \u2014 Zentrova");
  window->StepOnceClick();
  const auto bStepped = recordOf(app.set, app.record).bytes;
  dlg.saveChangesAnswers = {SaveAnswer::Save};
  dlg.openAnswers = {QString::fromStdString(a)};
  ui().Open1->trigger();
  EXPECT_EQ(readFile(b), std::string(bStepped.begin(), bStepped.end()));
  EXPECT_EQ(app.set.SetFileName, a);
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowTest, TypedValuesNumbersAndTheViewShowWhatIsTrue) {
  // Open shows the new set whole before its drawing fault is reported.
  ParticleSet far;
  far.Count = 60;
  far.Dt = 0.125L;
  far.setPresent(1, true);
  far.X[0] = 1e20L;
  ParticleRecord r;
  saveSet(far, r, dir + "/far.lis1");
  writeFile(dir + "/far..txt", "far away");
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  dlg.openAnswers = {QString::fromStdString(dir + "/far.lis1")};
  ui().Open1->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(cell(1, 1), "1E20");
  EXPECT_EQ(ui().EditDT->text(), realText(0.125L));
  EXPECT_EQ(ui().Comment->toPlainText(), "far away");
  errors.clear();

  // Enter in dt stores the value before the run it starts.
  dlg.openAnswers = {QString::fromStdString(dir + "/a.lis1")};
  ui().Open1->trigger();
  ui().PageControl->setCurrentIndex(0);
  ui().EditDT->setFocus();
  ui().EditDT->clear();
  QTest::keyClicks(ui().EditDT, num("0.5"));
  bool dtAtRun = false;
  QTimer::singleShot(0, [&] {
    dtAtRun = app.set.Dt == 0.5L;
    ui().Go->click();
  });
  QTest::keyClick(ui().EditDT, Qt::Key_Return);
  waitForRunEnd(app);
  EXPECT_TRUE(dtAtRun);
  EXPECT_GT(app.set.Time, 0);
  // A parameter field counts too.
  ui().EditA2->setFocus();
  ui().EditA2->clear();
  QTest::keyClicks(ui().EditA2, num("2.5"));
  QTimer::singleShot(0, [&] { ui().Go->click(); });
  QTest::keyClick(ui().EditA2, Qt::Key_Enter);
  waitForRunEnd(app);
  EXPECT_EQ(app.set.A2, 2.5L);

  // A click on Go after a commentary edit asks, saves, and still runs.
  ui().PageControl->setCurrentIndex(1);
  ui().Comment->setFocus();
  QTest::keyClicks(ui().Comment, "typed");
  dlg.confirmAnswers = {true};
  const std::int32_t before = app.set.Time;
  QTimer::singleShot(0, [&] { ui().Go->click(); });
  QTest::mouseClick(ui().Go, Qt::LeftButton);
  waitForRunEnd(app);
  EXPECT_TRUE(dlg.asked.contains("Confirm: The text was changed. Save now?"));
  EXPECT_GT(app.set.Time, before);
  EXPECT_TRUE(QString::fromStdString(readFile(dir + "/a..txt")).contains("typed"));

  // A number too wide for its cell keeps its sign and exponent, and says it
  // was shortened; the whole text fits where there is room.
  const QFontMetrics m(ui().DaonsTable->font());
  const QString tiny = num("-7.52483641234567E-21");
  const QString shown = shortNumberText(tiny, m, m.horizontalAdvance(num("-7.5248E-21")) + 2);
  EXPECT_TRUE(shown.startsWith(num("-7.5"))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("\u2026E-21")) << shown.toStdString();
  EXPECT_EQ(shortNumberText(tiny, m, 1000), tiny);
  const QString big = shortNumberText("-123456789012345", m, m.horizontalAdvance("-1.23E14") + 2);
  EXPECT_TRUE(big.startsWith("-1") && big.endsWith("\u2026E14")) << big.toStdString();
  const QString fixed = shortNumberText(num("-12.3456789012345"), m, m.horizontalAdvance("-12.345") + 2);
  EXPECT_TRUE(fixed.startsWith(num("-12.3")) && fixed.endsWith("\u2026")) << fixed.toStdString();

  // Keep in View leaves room to spare and keeps the fast ring in sight.
  copyOf(example("taoscope-ring.lis1"), dir + "/ring.lis1");
  dlg.openAnswers = {QString::fromStdString(dir + "/ring.lis1")};
  dlg.saveChangesAnswers = {SaveAnswer::Discard};
  ui().Open1->trigger();
  ui().Taoscope->setChecked(true);
  ui().KeepInView->setChecked(true);
  const int vw = w.width(), vh = w.panTop();
  app.view.Distance *= 8;  // most of the ring off the view
  w.RedrawView();
  int refits = 0;
  for (int k = 0; k < 200; ++k) {
    const auto d = app.view.Distance;
    w.StepOnceClick();
    EXPECT_GT(particlesInView(app, vw, vh), 0) << "step " << k;
    if (app.view.Distance == d) continue;
    ++refits;
    int minX = vw, maxX = 0, minY = vh, maxY = 0;
    for (int i = 1; i <= 60; ++i) {
      if (!app.set.present(i)) continue;
      minX = std::min(minX, app.view.ScreenX[i - 1]), maxX = std::max(maxX, app.view.ScreenX[i - 1]);
      minY = std::min(minY, app.view.ScreenY[i - 1]), maxY = std::max(maxY, app.view.ScreenY[i - 1]);
    }
    EXPECT_LE(std::max(maxX - minX, maxY - minY), 0.62 * std::min(vw, vh)) << "step " << k;
  }
  EXPECT_GE(refits, 1);

  // Open fits a set that the current view would not show at all.
  app.view.ShiftX = 1e7L;
  dlg.openAnswers = {QString::fromStdString(dir + "/a.lis1")};
  ui().Open1->trigger();
  EXPECT_GT(particlesInView(app, vw, vh), 0);

  // Controls without a caption say what they do.
  for (QWidget* c : std::initializer_list<QWidget*>{ui().DaoBack, ui().DaoForvard, ui().DaoTeta, ui().DaoTeta1,
                                                    ui().DaoPsi, ui().DaoPsi1, ui().DaoPhi, ui().DaoPhi1,
                                                    ui().DaoStop, ui().ShapeLime, ui().ShapeRed, ui().TrackBar})
    EXPECT_FALSE(c->toolTip().isEmpty()) << c->objectName().toStdString();
  EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(MainWindowTest, CommentaryKeepsEveryByteAndRefusedFilesStayUntouched) {
  // Every code point of the first plane that UTF-8 can carry, a leading mark,
  // lone CR and LF, no-break spaces and paragraph separators among them.
  std::string text = "\xEF\xBB\xBF" "a\rb\nc\r\n";
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    QString one = QString(QChar(char16_t(c)));
    text += one.toUtf8().toStdString();
  }
  const std::string set = copyOf(dataFile("set-a.lis1"), dir + "/a.lis1");
  writeFile(dir + "/a..txt", text);
  pointStartupAt(set);
  open();
  ui().PageControl->setCurrentIndex(1);
  ui().Comment->setFocus();
  ui().Comment->moveCursor(QTextCursor::End);
  QTest::keyClicks(ui().Comment, "!");
  dlg.confirmAnswers = {true};
  ui().EditDT->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(readFile(dir + "/a..txt") == text + "!");
  // Untouched text is no change when the window closes.
  const int asked = dlg.asked.size();
  window->close();
  EXPECT_EQ(dlg.asked.size(), asked);

  // A commentary that is a FIFO is refused at once and never written.
  ASSERT_EQ(::mkfifo((dir + "/a..txt.fifo").c_str(), 0600), 0);
  std::filesystem::remove(dir + "/a..txt");
  std::filesystem::rename(dir + "/a..txt.fifo", dir + "/a..txt");
  open();
  EXPECT_TRUE(ui().Comment->isReadOnly());
  EXPECT_TRUE(ui().Comment->toPlainText().contains("not a regular file"));
  window->close();
  EXPECT_FALSE(window->isVisible());
  struct stat st {};
  ASSERT_EQ(::stat((dir + "/a..txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_TRUE(errors.isEmpty());
}
