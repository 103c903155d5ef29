#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "analysis/observables.h"
#include "analysis/observables_csv.h"
#include "files/set_file.h"
#include "state/errors.h"
#include "main_marks.h"
#include "main_picture.h"
#include "TEditDlg.h"
#include "editor_controls.h"
#include "view/marks.h"
#include "main_window_fixture.h"
#include "monitor_controls.h"

using namespace zentrova;

namespace {

std::string copyOf(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  return to;
}

}  // namespace

TEST_F(MainWindowTest, GoRunsUntilStopAndTheLampFollows) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  w.LTimeDblClick();  // show the counter
  // Stop from inside the run, as a click during the yield would.
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (app.set.Time >= 3 && !app.set.Stopped) ui().Go->click();
  });
  stopper.start(1);
  ui().Go->click();
  waitForRunEnd(app);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_GE(app.set.Time, 3);
  EXPECT_EQ(ui().LTime->text(), QString::number(app.set.Time));
  EXPECT_EQ(ui().Go->text(), "Go");
  EXPECT_TRUE(ui().Images->isEnabled());
  EXPECT_TRUE(ui().Null00->isEnabled());
  EXPECT_TRUE(errors.isEmpty());
  // The listing follows the committed positions, and both it and the view
  // repaint again once the run has ended.
  EXPECT_EQ(cell(1, 1), realText(app.set.X[0]));
  EXPECT_EQ(cell(60, 3), realText(app.set.Z[59]));
  EXPECT_TRUE(ui().ViewArea->updatesEnabled());
  EXPECT_TRUE(ui().DaonsTable->viewport()->updatesEnabled());
}

// The run shows its picture and listing only now and then, but every step
// records its trail point, and the run ends on the last step's picture,
// listing and counter, over several slices of steps.
TEST_F(MainWindowTest, RunRecordsEveryTrailPointAndEndsOnItsLastStep) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  w.LTimeDblClick();
  w.findChild<QAction*>("Trails")->trigger();
  int slices = 0;
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (++slices == 5 && !app.set.Stopped) ui().Go->click();
  });
  stopper.start(0);
  ui().Go->click();
  waitForRunEnd(app);
  const std::int32_t steps = app.set.Time;
  ASSERT_GT(steps, 1);
  const Trails& trails = w.picture().trails;
  EXPECT_EQ(trails.length(1), std::min(steps, Trails::kLength));
  const Trails::Point last = trails.at(1, trails.length(1) - 1);
  EXPECT_EQ(last.x, app.set.DrawX[0]);
  EXPECT_EQ(last.z, app.set.DrawZ[0]);
  EXPECT_EQ(ui().LTime->text(), QString::number(steps));
  for (int i = 1; i <= 60; ++i)
    if (app.set.present(i)) {
      EXPECT_EQ(cell(i, 1), realText(app.set.X[i - 1])) << i;
      EXPECT_EQ(cell(i, 3), realText(app.set.Z[i - 1])) << i;
    }
  const QImage shown = ui().ViewArea->image().copy();
  w.DrawTaons();
  EXPECT_TRUE(ui().ViewArea->image() == shown);
}

TEST_F(MainWindowTest, FaultEndsTheRunAndTheWindowShowsIdle) {
  pointStartupAt(copyOf(dataFile("fault-coincident.lis1"), dir + "/f.lis1"));
  open();
  ui().Go->click();
  waitForRunEnd(app);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Floating point division by zero.");
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(ui().Go->text(), "Go");
  EXPECT_TRUE(ui().ShapeLime->styleSheet().contains("0, 255, 0"));
  EXPECT_TRUE(ui().Images->isEnabled());
  EXPECT_TRUE(ui().Null00->isEnabled());
  EXPECT_EQ(app.set.Time, 0);
  ui().Go->click();  // the next click runs again, and faults again
  waitForRunEnd(app);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(errors.size(), 2);

  // What was done before the faulting run can still be undone.
  ui().EditB2->setFocus();
  ui().EditB2->setText("5");
  ui().EditA1->setFocus();
  QApplication::processEvents();
  ui().Go->click();
  EXPECT_EQ(errors.size(), 3);
  EXPECT_TRUE(ui().Undo1->isEnabled());
  ui().Undo1->trigger();
  EXPECT_NE(app.set.B2, 5);
}

TEST_F(MainWindowTest, EnterStartsAndEscapeStopsWithoutStealingTheMemo) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  open();
  QTimer::singleShot(20, [&] { QTest::keyClick(window.get(), Qt::Key_Escape); });
  QTest::keyClick(ui().EditA1, Qt::Key_Return);
  waitForRunEnd(app);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_GT(app.set.Time, 0);
  ui().PageControl->setCurrentIndex(1);
  const std::int32_t time = app.set.Time;
  QTest::keyClick(ui().Comment, Qt::Key_Return);  // the memo takes Enter itself
  EXPECT_EQ(app.set.Time, time);
}

TEST_F(MainWindowTest, ClosingDuringARunEndsTheRun) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  QTimer::singleShot(20, [&] { w.close(); });
  ui().Go->click();
  waitForRunEnd(app);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, OpenThenSaveWritesTheSameBytes) {
  open();
  const std::string set = copyOf(dataFile("set-b.lis1"), dir + "/b.lis1");
  dlg.openAnswers.push_back(QString::fromStdString(set));
  ui().Open1->trigger();
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_TRUE(ui().Go->isEnabled());
  EXPECT_EQ(readFile(app.startupPath), set);
  const std::string before = readFile(set);
  std::filesystem::remove(set);
  ui().Save1->trigger();
  EXPECT_EQ(readFile(set), before);  // padding and odd presence bytes included
  EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowTest, OpenOfMissingOrShortFileReportsAfterTheNameChanged) {
  open();
  dlg.openAnswers.push_back(QString::fromStdString(dir + "/none.lis1"));
  ui().Open1->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "File not found.");
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_EQ(ui().FName->text().toStdString(), dir + "/none.lis1");
  EXPECT_EQ(app.set.A1, 0.0L);
  writeFile(dir + "/short.lis1", std::string(3783, 'x'));
  dlg.openAnswers.push_back(QString::fromStdString(dir + "/short.lis1"));
  ui().Open1->trigger();
  EXPECT_EQ(errors.value(1), "Read beyond end of file.");
  EXPECT_EQ(readFile(app.startupPath), "");
}

TEST_F(MainWindowTest, SaveWithTheSpiralDoesNothingAndTheEasySquareCreatesTheFile) {
  open();
  ui().Save1->trigger();
  ui().Saveas1->trigger();
  EXPECT_TRUE(dlg.asked.isEmpty());
  window.reset();
  pointStartupAt(dir + "/new.lis1");
  open();
  ui().Save1->trigger();
  ASSERT_TRUE(std::filesystem::exists(dir + "/new.lis1"));
  EXPECT_EQ(std::filesystem::file_size(dir + "/new.lis1"), 3784u);
  // Open starts in the set's folder.
  ui().Open1->trigger();
  EXPECT_EQ(dlg.offered.last(), QString::fromStdString(dir + "/"));

  // The easy square of F5 has no file: Save asks for one, under a name of
  // its own among the examples, and the question names the set.
  window.reset();
  pointStartupAt("");
  open();
  ui().Daons1->trigger();
  dlg.asked.clear();
  ui().Save1->trigger();
  ASSERT_EQ(dlg.asked, QStringList{"save"});
  EXPECT_TRUE(dlg.offered.last().endsWith("/easy-square-copy.lis1")) << dlg.offered.last().toStdString();
  EXPECT_TRUE(errors.isEmpty());
  ui().EditDT->setText("0.5");
  window->EditDTExit();
  ui().Open1->trigger();
  EXPECT_TRUE(dlg.asked.contains("Save changes to the easy square?")) << dlg.asked.join('|').toStdString();
}

TEST_F(MainWindowTest, SaveAsThenOpenAnotherAndRestartLoadsTheLast) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  open();
  dlg.saveAnswers.push_back(QString::fromStdString(dir + "/copy.lis1"));
  ui().Saveas1->trigger();
  EXPECT_EQ(readFile(app.startupPath), dir + "/copy.lis1");
  EXPECT_EQ(app.set.SetFileName, dir + "/copy.lis1");
  const std::string other = copyOf(dataFile("set-c.lis1"), dir + "/c.lis1");
  dlg.openAnswers.push_back(QString::fromStdString(other));
  ui().Open1->trigger();
  window.reset();
  app = AppState{{}, {}, {}, app.startupPath};
  open();
  EXPECT_EQ(app.set.SetFileName, other);
}

TEST_F(MainWindowTest, VelocityResetZeroesAndOffersSaveAs) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  open();
  const std::string before = readFile(dir + "/a.lis1");
  ui().Null00->click();  // the save dialog is cancelled
  EXPECT_EQ(dlg.asked, QStringList{"save"});
  EXPECT_EQ(ui().Null00->text(), "Yes Null");
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(app.set.Ux[i], 0.0L);
    EXPECT_EQ(app.set.Uz1[i], 0.0L);
  }
  EXPECT_EQ(readFile(dir + "/a.lis1"), before);
  window->DaonsTableDblClick();
  EXPECT_EQ(cell(1, 1), "0");
  // The caption goes and comes with the reset.
  const auto zeroed = app.set.Ux;
  ui().Undo1->trigger();
  EXPECT_NE(app.set.Ux, zeroed);
  EXPECT_EQ(ui().Null00->text(), "0");
  ui().Redo1->trigger();
  EXPECT_EQ(ui().Null00->text(), "Yes Null");
}

TEST_F(MainWindowTest, SpiralAndTaonsSwitchPictures) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  open();
  ui().Spiral1->trigger();
  EXPECT_TRUE(app.set.FigureMode);
  EXPECT_FALSE(ui().Go->isEnabled());
  EXPECT_FALSE(ui().Null00->isEnabled());
  EXPECT_EQ(app.set.DrawX[1], 1.0L);
  ui().Daons1->trigger();
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_TRUE(ui().Go->isEnabled());
  EXPECT_EQ(app.set.DrawX[0], app.set.X[0]);
  // An empty start-up file gives the easy square under its label.
  writeFile(app.startupPath, "");
  ui().Daons1->trigger();
  EXPECT_EQ(ui().FName->text(), "This is a stabil structur of taons");
  EXPECT_EQ(cell(2, 3), num("0.212"));
  std::filesystem::remove(app.startupPath);
  ui().Daons1->trigger();
  EXPECT_EQ(dlg.asked.last(), "info: The start File not found.");
  EXPECT_TRUE(ui().Go->isEnabled());
}

TEST_F(MainWindowTest, ChangedCommentaryIsOfferedForSavingWhenLeft) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/cube.lis1"));
  open();
  ui().PageControl->setCurrentIndex(1);
  ui().Comment->setFocus();
  ui().Comment->setPlainText("one\ntwo");
  dlg.confirmAnswers.push_back(true);
  ui().EditDT->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(dlg.asked.last(), "Confirm: The text was changed. Save now?");
  EXPECT_EQ(readFile(dir + "/cube..txt"), "one\r\ntwo");
  EXPECT_FALSE(window->commentChanged());
}

TEST_F(MainWindowTest, MonitorRecordsStepsRunsAndTheFaultThatEndsOne) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier);
  ASSERT_NE(w.monitor(), nullptr);
  TMonitor& m = *w.monitor();
  EXPECT_TRUE(m.isVisible());
  EXPECT_EQ(m.windowTitle(), "Monitor");
  EXPECT_EQ(m.series().samples().back().step, 0);

  QTest::keyClick(&w, Qt::Key_F10);  // Step Once: one step, drawn and listed
  EXPECT_EQ(app.set.Time, 1);
  EXPECT_EQ(cell(1, 1), realText(app.set.X[0]));
  EXPECT_EQ(m.valueLabel("step")->text(), "1");

  // A paced run takes the same steps as the headless one.
  ui().Speed100->trigger();
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (app.set.Time >= 4 && !app.set.Stopped) ui().Go->click();
  });
  stopper.start(1);
  ui().Go->click();
  waitForRunEnd(app);
  stopper.stop();
  m.sample(true);
  const auto& samples = m.series().samples();
  EXPECT_EQ(samples.back().step, app.set.Time);
  EXPECT_EQ(samples.back().kinetic, observe(app.set, {}).kinetic);
  ParticleRecord record{};
  readSetFile(dir + "/a.lis1", record);
  ParticleSet headless;
  headless.Count = kMaxParticles;
  loadRecordIntoSet(record, headless);
  runStepsHeadless(headless, {}, app.set.Time);
  EXPECT_EQ(headless.X, app.set.X);
  EXPECT_EQ(headless.Uz, app.set.Uz);
  // Run > Verlet Step, unticked until asked for, takes the second-order step.
  EXPECT_FALSE(ui().VerletStep->isChecked());
  ui().VerletStep->trigger();
  ui().StepOnce->trigger();
  StepControls verlet;
  verlet.verlet = true;
  runStepsHeadless(headless, verlet, 1);
  EXPECT_EQ(headless.X, app.set.X);
  ui().VerletStep->trigger();

  m.writeCsv(QString::fromStdString(dir + "/series.csv"));
  const std::string csv = readFile(dir + "/series.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), observablesCsvHeader());
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), std::ptrdiff_t(samples.size() + 1));
  // As many fields a row as the header names, whatever the window's locale.
  const std::string header = observablesCsvHeader();
  EXPECT_EQ(std::count(csv.begin(), csv.end(), ','),
            std::count(header.begin(), header.end(), ',') * std::ptrdiff_t(samples.size() + 1));

  dlg.openAnswers.push_back(QString::fromStdString(copyOf(dataFile("fault-coincident.lis1"), dir + "/f.lis1")));
  ui().Open1->trigger();
  ui().Go->click();
  waitForRunEnd(app);
  EXPECT_EQ(m.form().LFault->text(), "Step 1: Floating point division by zero");
  EXPECT_TRUE(errors.size() == 1);
  EXPECT_TRUE(app.set.Stopped);
}

// Steps taken while the Monitor was closed are a gap in every plot, and all
// plots share one time axis; the window fits the screen, hands Esc and Enter
// to the run, and names a CSV file without an extension ".csv".
TEST_F(MainWindowTest, MonitorLeavesAGapForUnwatchedStepsOnOneSharedTimeAxis) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  ui().Monitor1->trigger();
  TMonitor& m = *w.monitor();
  EXPECT_TRUE(m.screen()->availableGeometry().contains(m.frameGeometry())) << m.frameGeometry().width();
  // A main window in the middle of a wide screen: the Monitor goes beside
  // it, narrower than it would like, not on top of it; with no room at all
  // it stays on the screen.
  const QRect screen(0, 0, 1920, 1040), main(560, 300, 703, 431);
  const QRect beside = TMonitor::placement(screen, main, QSize(900, 700), QSize(588, 300), QSize(16, 40));
  EXPECT_FALSE(QRect(beside.topLeft(), beside.size() + QSize(16, 40)).intersects(main));
  EXPECT_GE(beside.width(), 588);
  EXPECT_EQ(beside.top(), 300);
  const QRect atLeft = TMonitor::placement(screen, QRect(1200, 0, 703, 431), QSize(900, 700), QSize(588, 300),
                                           QSize(16, 40));
  EXPECT_LT(atLeft.left() + atLeft.width(), 1200);
  const QRect cramped = TMonitor::placement(QRect(0, 0, 800, 600), QRect(0, 0, 703, 431), QSize(900, 700),
                                            QSize(588, 300), QSize(16, 40));
  EXPECT_TRUE(QRect(0, 0, 800, 600).contains(QRect(cramped.topLeft(), cramped.size() + QSize(16, 40))));
  const auto steps = [&](int n) {
    for (int k = 0; k < n; ++k) w.runSteps(app.set.Time);  // one step each while stopped
  };
  steps(3);
  m.hide();
  steps(3);
  m.show();
  steps(3);
  m.sample(true);
  const MonitorPlots& plots = m.plots();
  const Real dt = app.set.Dt;
  for (const MonitorPlots::Panel& panel : plots.panels()) {
    if (panel.title != "Radius" && panel.title != "Kinetic energy") continue;
    const auto& stretches = panel.curves.front().stretches;
    ASSERT_EQ(stretches.size(), 2u) << panel.title.toStdString();
    EXPECT_DOUBLE_EQ(stretches[0].back().x(), double(3 * dt));
    EXPECT_DOUBLE_EQ(stretches[1].front().x(), double(6 * dt));
    EXPECT_DOUBLE_EQ(stretches[1].back().x(), double(9 * dt));
  }
  EXPECT_EQ(plots.t0(), 0);
  EXPECT_DOUBLE_EQ(plots.t1(), double(9 * dt));
  for (std::size_t n = 1; n < plots.panels().size(); ++n) {
    EXPECT_EQ(plots.plotArea(int(n)).left(), plots.plotArea(0).left());
    EXPECT_EQ(plots.plotArea(int(n)).width(), plots.plotArea(0).width());
  }

  QTimer::singleShot(100, [&] { QTest::keyClick(&m, Qt::Key_Escape); });
  QTest::keyClick(&m, Qt::Key_Return);
  waitForRunEnd(app);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_GT(app.set.Time, 9);

  m.writeCsv(QString::fromStdString(dir + "/series"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/series.csv"));

  // A saved series drawn beside the live run: dashed, on the same time axis,
  // whose end it may lie before.
  const double saved = double(zentrova::readObservablesCsv(readFile(dir + "/series.csv")).back().time);
  steps(2);
  m.sample(true);
  writeFile(dir + "/bad.csv", "step,time\n1,2,3\n");
  EXPECT_THROW(m.compareWith(QString::fromStdString(dir + "/bad.csv")), zentrova::AppError);
  m.compareWith(QString::fromStdString(dir + "/series.csv"));
  EXPECT_TRUE(m.form().NoCompare->isEnabled());
  const std::size_t liveCurves = plots.panels().front().curves.size() / 2;
  for (const MonitorPlots::Panel& panel : plots.panels()) {
    ASSERT_EQ(panel.curves.size() % 2, 0u) << panel.title.toStdString();
    const MonitorPlots::Curve& other = panel.curves[panel.curves.size() / 2];
    EXPECT_TRUE(other.dashed);
    EXPECT_EQ(other.name, panel.curves.front().name + " (series)");
    if (panel.curves.front().stretches.empty()) continue;  // nothing to draw in this run either
    ASSERT_FALSE(other.stretches.empty()) << panel.title.toStdString();
    EXPECT_DOUBLE_EQ(other.stretches.back().back().x(), saved);
  }
  EXPECT_DOUBLE_EQ(plots.t1(), double(app.set.Time * dt));
  m.form().NoCompare->click();
  EXPECT_EQ(plots.panels().front().curves.size(), liveCurves);
  EXPECT_TRUE(plots.compared().empty());
}

namespace {
QAction* command(TMainForm& w, const char* name) { return w.findChild<QAction*>(QString::fromLatin1(name)); }
}  // namespace

TEST_F(MainWindowTest, ExportImageWritesTheViewAsShownWithTrailsAndNumbers) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  command(w, "Trails")->trigger();
  command(w, "PointSize5")->trigger();
  ui().ShowNumbersOfPoints->trigger();
  for (int n = 0; n < 5; ++n) w.runSteps(app.set.Time);  // one step each while stopped
  dlg.imageAnswers = {QString::fromStdString(dir + "/view.png"), QString::fromStdString(dir + "/no/such/v.png")};
  command(w, "ExportImage")->trigger();
  const QImage written(QString::fromStdString(dir + "/view.png"));
  const QImage shown = ui().ViewArea->image().copy(0, 0, ui().ViewArea->width(), w.panTop());
  ASSERT_FALSE(written.isNull());
  EXPECT_EQ(written.size(), shown.size());
  EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), shown);
  EXPECT_TRUE(errors.isEmpty());
  command(w, "ExportImage")->trigger();  // a folder that is not there
  EXPECT_EQ(errors.size(), 1);
}

TEST_F(MainWindowTest, RecordFramesWritesNumberedPicturesWhileTickedDuringARun) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  QAction* record = command(w, "RecordFrames");
  record->trigger();  // the folder dialog cancelled: not ticked
  EXPECT_FALSE(record->isChecked());
  std::filesystem::create_directories(dir + "/frames");
  dlg.folderAnswers = {QString::fromStdString(dir + "/frames")};
  record->trigger();
  ASSERT_TRUE(record->isChecked());
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (app.set.Time >= 40 && !app.set.Stopped) ui().Go->click();
  });
  stopper.start(20);
  ui().Go->click();
  waitForRunEnd(app);
  const auto count = [&] {
    return std::distance(std::filesystem::directory_iterator(dir + "/frames"), std::filesystem::directory_iterator{});
  };
  const auto frames = count();
  EXPECT_EQ(frames, app.set.Time / 10 + 1);  // steps 0, 10, 20, ...: the run's pace, not the screen's
  EXPECT_TRUE(std::filesystem::exists(dir + "/frames/frame-000001.png"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/frames/frame-" + QStringLiteral("%1").arg(frames, 6, 10, QLatin1Char('0')).toStdString() + ".png"));
  EXPECT_EQ(QImage(QString::fromStdString(dir + "/frames/frame-000001.png")).size(),
            QSize(ui().ViewArea->width(), w.panTop()));
  record->trigger();  // unticked: the next run writes nothing
  w.runSteps(app.set.Time);
  EXPECT_EQ(count(), frames);
  EXPECT_TRUE(errors.isEmpty());

  // The same folder again: a new take beside the old frames, stamped.
  const auto countIn = [](const std::string& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator{});
  };
  w.picture().recording.every = 3;
  w.picture().recording.stamp = true;
  dlg.folderAnswers = {QString::fromStdString(dir + "/frames")};
  record->trigger();
  for (int n = 0; n < 7; ++n) w.runSteps(app.set.Time);
  record->trigger();
  EXPECT_EQ(countIn(dir + "/frames/take-2"), 3);  // steps 0, 3 and 6 of the take
  EXPECT_EQ(count(), frames + 1);                 // the old frames and the take's folder
  const QImage stamped(QString::fromStdString(dir + "/frames/take-2/frame-000001.png"));
  bool text = false;
  for (int x = 0; x < 120 && !text; ++x)
    for (int y = stamped.height() - 30; y < stamped.height(); ++y) text = text || qGray(stamped.pixel(x, y)) > 200;
  EXPECT_TRUE(text);

  // A folder whose name holds "%1", and one that goes away while recording.
  const std::string odd = dir + "/50%1 done";
  std::filesystem::create_directories(odd);
  dlg.folderAnswers = {QString::fromStdString(odd)};
  record->trigger();
  w.picture().recorder->finish();  // written off the window's thread
  EXPECT_TRUE(std::filesystem::exists(odd + "/frame-000001.png"));
  std::filesystem::remove_all(odd);
  for (int n = 0; n < 3; ++n) w.runSteps(app.set.Time);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors.front().startsWith(QString::fromStdString(odd + "/frame-000002.png: ")));
  EXPECT_TRUE(errors.front().endsWith("Recording stopped.")) << errors.front().toStdString();
  EXPECT_FALSE(record->isChecked());
}

TEST_F(MainWindowTest, TrailsAreClearedByOpenNewTheFiguresAndTheVelocityReset) {
  const std::string a = copyOf(dataFile("set-a.lis1"), dir + "/a.lis1");
  pointStartupAt(a);
  auto& w = open();
  QDialog editor;
  w.setEditor(&editor);
  command(w, "Trails")->trigger();
  const auto walk = [&] {
    for (int n = 0; n < 3; ++n) w.runSteps(app.set.Time);
    return w.picture().trails.length(1);
  };
  const std::function<void()> commands[] = {
      [&] {
        dlg.openAnswers = {QString::fromStdString(a)};
        ui().Open1->trigger();
      },
      [&] {
        dlg.modalAnswers = {QDialog::Accepted};
        ui().New1->trigger();
      },
      [&] { ui().Null00->click(); },
      [&] { ui().Daons1->trigger(); },
      [&] {
        ui().Spiral1->trigger();
        ui().Daons1->trigger();
      },
  };
  for (const auto& c : commands) {
    ASSERT_EQ(walk(), 3);
    c();
    EXPECT_TRUE(w.picture().trails.empty());
  }
  EXPECT_TRUE(errors.isEmpty());
}

// A commentary in the old Windows code page is shown as text and, saved
// unchanged, keeps its bytes; closing asks only about a changed text.
TEST_F(MainWindowTest, CommentaryInTheOldCodePageKeepsItsBytes) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/cube.lis1"));
  const std::string cp1251 = "\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xec\xe8\xf0";  // "Привет", "мир"
  writeFile(dir + "/cube..txt", cp1251);
  open();
  EXPECT_EQ(ui().Comment->toPlainText(), QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442\n\u043c\u0438\u0440"));
  ui().PageControl->setCurrentIndex(1);
  ui().Comment->setFocus();
  dlg.confirmAnswers.push_back(true);
  ui().EditDT->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(readFile(dir + "/cube..txt"), cp1251);
  const int asked = dlg.asked.size();
  window->close();
  EXPECT_EQ(dlg.asked.size(), asked);
}

// The menus' shortcuts win over text fields, the habitual Ctrl keys work, and
// Esc stops a run even from the menu bar's keyboard mode.
TEST_F(MainWindowTest, KeysReachTheProgramWhateverHasTheFocus) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  QDialog editor;
  w.setEditor(&editor);
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  for (QWidget* field : std::initializer_list<QWidget*>{ui().EditDT, ui().EditA1, ui().Comment}) {
    ui().PageControl->setCurrentIndex(field == ui().Comment ? 1 : 0);
    field->setFocus();
    const auto shift = app.view.ShiftX;
    QTest::keyClick(field, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_GT(app.view.ShiftX, shift) << field->objectName().toStdString();
    QTest::keyClick(field, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(app.view.ShiftX, shift) << field->objectName().toStdString();
  }
  QTest::keyClick(ui().EditDT, Qt::Key_O, Qt::ControlModifier);
  QTest::keyClick(ui().EditDT, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(dlg.asked.mid(dlg.asked.size() - 2), (QStringList{"open", "modal"}));

  bool stoppedByEsc = false;
  QTimer::singleShot(20, [&] {
    // Into the menu bar's keyboard mode, as a click on a menu and Esc leave it.
    ui().MainMenu->setActiveAction(ui().File1->menuAction());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    stoppedByEsc = app.set.Stopped;
    if (!stoppedByEsc) ui().Go->click();
  });
  ui().Go->click();
  waitForRunEnd(app);
  EXPECT_TRUE(stoppedByEsc);
  QApplication::setActiveWindow(&w);  // the offscreen menu does not hand it back
  QTest::keyClick(ui().EditDT, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(w.isVisible());
}

namespace {

QPoint projected(const AppState& app, int n) { return {app.view.ScreenX[n - 1], app.view.ScreenY[n - 1]}; }

}  // namespace

// A click on a drawn particle picks it: marked, its row selected, its values
// in the status bar; Shift adds a second (distance, as the editor's
// calculator gives it) and a third (angle); empty space clears. The listing
// leads as well, during a run the values follow the steps, and the status
// bar tells the step, the time and a first start.
TEST_F(MainWindowTest, PickingAndMeasuringInTheViewAndTheStatusBar) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  MainMarks& marks = *w.marks();
  EXPECT_TRUE(marks.pickLabel()->text().contains("F5"));  // nothing kept yet: a first start
  w.RedrawView();
  ASSERT_TRUE(app.set.present(7) && app.set.present(12) && app.set.present(30));
  for (int n : {7, 12, 30}) ASSERT_EQ(pickParticle(app.view, app.set, projected(app, n).x(), projected(app, n).y(), 6), n);

  QTest::mouseClick(ui().ViewArea, Qt::LeftButton, {}, projected(app, 7));
  EXPECT_EQ(marks.picked(), std::vector<int>{7});
  EXPECT_TRUE(marks.pickLabel()->text().startsWith("7 (PE)")) << marks.pickLabel()->text().toStdString();
  EXPECT_TRUE(marks.pickLabel()->text().contains(realText(app.set.X[6])));
  EXPECT_EQ(ui().DaonsTable->currentRow(), 7);
  // The mark is drawn around the dot.
  const QImage& image = ui().ViewArea->image();
  const QPoint p7 = projected(app, 7);
  EXPECT_EQ(image.pixel(p7.x() - 3, p7.y() - 3), qRgb(255, 255, 255));

  QTest::mouseClick(ui().ViewArea, Qt::LeftButton, Qt::ShiftModifier, projected(app, 12));
  EXPECT_EQ(marks.picked(), (std::vector<int>{7, 12}));
  TEditDlg editor(app, [] { return false; });
  editor.show();
  EditorControls e(editor);
  e.EditCal1Part1->setText("7");
  e.EditCal1Part2->setText("12");
  e.Calculate1->click();
  EXPECT_EQ(marks.pickLabel()->text(), "7 to 12: distance " + e.EditResult1->text());
  editor.hide();

  QTest::mouseClick(ui().ViewArea, Qt::LeftButton, Qt::ShiftModifier, projected(app, 30));
  EXPECT_TRUE(marks.pickLabel()->text().contains("angle at 12: ")) << marks.pickLabel()->text().toStdString();
  QTest::mouseClick(ui().ViewArea, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_TRUE(marks.picked().empty());
  EXPECT_TRUE(marks.pickLabel()->text().isEmpty());

  // The listing picks too, and the values follow the steps.
  ui().DaonsTable->setCurrentCell(3, 1);
  EXPECT_EQ(marks.picked(), std::vector<int>{3});
  w.StepOnceClick();
  marks.refreshStatus();
  EXPECT_TRUE(marks.pickLabel()->text().contains(realText(app.set.X[2])));
  EXPECT_EQ(marks.stepLabel()->text(), "Step 1");
  EXPECT_EQ(marks.timeLabel()->text(), "Time " + realText(app.set.Dt));
  EXPECT_FALSE(marks.recordingLabel()->isVisible());
  // Taoscope picks alike.
  ui().Taoscope->click();
  w.RedrawView();
  QTest::mouseClick(ui().ViewArea, Qt::LeftButton, {}, projected(app, 12));
  EXPECT_EQ(marks.picked(), std::vector<int>{12});
}

// The palette for colour-blind eyes with its legend, the standard views, the
// triad, the list of keys, the splitter, and a layout kept for the next start.
TEST_F(MainWindowTest, ViewAidsKeysSplitterAndTheKeptLayout) {
  pointStartupAt(copyOf(dataFile("set-a.lis1"), dir + "/a.lis1"));
  auto& w = open();
  w.RedrawView();
  const QPoint p1 = projected(app, 1);
  const QImage& image = ui().ViewArea->image();
  EXPECT_EQ(image.pixel(p1), qRgb(255, 255, 0));  // classic yellow by default
  ui().SafePalette->trigger();
  EXPECT_EQ(QColor(image.pixel(p1)), QColor(taonColor(1, 60, false, Palette::OkabeIto).r,
                                            taonColor(1, 60, false, Palette::OkabeIto).g,
                                            taonColor(1, 60, false, Palette::OkabeIto).b));

  ui().FrontView->trigger();
  EXPECT_EQ(app.view.PrevPsi, 0);
  EXPECT_NEAR(double(app.view.M32), -1.0, 1e-15);  // y up the screen
  ui().SideView->trigger();
  EXPECT_NEAR(double(app.view.M12), 1.0, 1e-15);  // y across
  EXPECT_EQ(ui().TopView->shortcut(), QKeySequence("Ctrl+2"));

  ui().Keyboard1->trigger();
  ASSERT_FALSE(dlg.asked.isEmpty());
  for (const char* key : {"F2", "F5", "F10", "Ctrl+1", "Ctrl+M", "Shift+Click"})
    EXPECT_TRUE(dlg.asked.last().contains(key)) << key;

  // The listing gains what the splitter gives it.
  const int tableHeight = ui().DaonsTable->height();
  const QList<int> sizes = ui().Splitter->sizes();
  ui().Splitter->setSizes({sizes[0] - 100, sizes[1] + 100});
  w.FormResize();
  EXPECT_EQ(ui().DaonsTable->height(), tableHeight + 100);
  EXPECT_EQ(ui().FName->geometry().bottom(), ui().PageControl->geometry().bottom() + 21);

  w.resize(900, 600);
  QApplication::processEvents();
  const QList<int> kept = ui().Splitter->sizes();
  w.close();
  open();
  EXPECT_EQ(window->size(), QSize(900, 600));
  EXPECT_EQ(ui().Splitter->sizes(), kept);
  EXPECT_FALSE(window->marks()->pickLabel()->text().contains("F5"));
}
