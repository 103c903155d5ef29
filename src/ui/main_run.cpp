// The integration run: Go/Stop, the slices of steps, the lamp, the step
// counter, the Run menu (Step Once, Speed) and the Monitor window.
#include "main_run.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <exception>

#include "TMonitor.h"
#include "error_box.h"
#include "glyphs.h"
#include "main_commentary.h"
#include "main_files.h"
#include "main_history.h"
#include "main_listing.h"
#include "main_picture.h"
#include "main_view.h"

using namespace zentrova;

namespace {

// Steps are taken for this long before the window handles its events: short
// enough that a click answers at once, long enough that handing over costs
// little.
constexpr std::chrono::milliseconds kSlice(8);
// Numbers change too fast to read well before they are shown twenty times a
// second.
constexpr std::chrono::milliseconds kListingInterval(50);
// While a modal dialog is up the run waits for it, as it waited when the run
// gave the dialog its turn; it looks again this often.
constexpr int kModalPollMs = 50;

}  // namespace

MainRun::MainRun(TMainForm& form) : MainPart(form) {
  const auto on = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { handler(this); }); });
  };
  on(ui_.Monitor1, [](MainRun* r) { r->Monitor1Click(); });
  on(ui_.GoStop, [](MainRun* r) { r->GoStopClick(); });
  on(ui_.StepOnce, [](MainRun* r) { r->StepOnceClick(); });
  on(ui_.SpeedFull, [](MainRun* r) { r->SpeedClick(0); });
  on(ui_.Speed100, [](MainRun* r) { r->SpeedClick(100); });
  on(ui_.Speed10, [](MainRun* r) { r->SpeedClick(10); });
  auto* speeds = new QActionGroup(this);
  for (QAction* a : {ui_.SpeedFull, ui_.Speed100, ui_.Speed10}) speeds->addAction(a);
  // The menu shows which commands apply now; the keys are checked by the
  // handlers, so that F10 never depends on when the menu was last opened.
  connect(ui_.Run1, &QMenu::aboutToShow, this, [this] {
    ui_.GoStop->setEnabled(ui_.Go->isEnabled());
    ui_.StepOnce->setEnabled(ui_.Go->isEnabled() && app_.set.Stopped);
  });
  connect(ui_.Run1, &QMenu::aboutToHide, this, [this] {
    ui_.GoStop->setEnabled(true);
    ui_.StepOnce->setEnabled(true);
  });
  form_.history().onCleared([this] { runStart_.reset(); });
  // An ending signal stops a run and ends the event loop: the run still ends
  // as Stop ends it, its frames on disk.
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { runGuarded([this] { end(); }); });
  slice_ = new QTimer(this);
  connect(slice_, &QTimer::timeout, this, [this] {
    if (QApplication::activeModalWidget()) {
      slice_->start(kModalPollMs);
      return;
    }
    form_.view().runCommand([this] { slice(); });
  });
}

MainRun::~MainRun() { delete monitor_; }  // it reads this part's controls

void MainRun::setLamp(bool runningColours) {
  const auto circle = [](const char* rgb) {
    return QStringLiteral("background-color: rgb(%1); border: 1px solid black; border-radius: 7px;")
        .arg(QLatin1String(rgb));
  };
  ui_.ShapeRed->setStyleSheet(circle(runningColours ? "255, 0, 0" : "128, 0, 0"));
  ui_.ShapeLime->setStyleSheet(circle(runningColours ? "0, 128, 0" : "0, 255, 0"));
}

void MainRun::showRunning() {
  ui_.Go->setIcon(crossGlyph());
  ui_.Go->setText(TMainForm::tr("Stop"));
  setLamp(true);
  form_.history().updateActions();
}

void MainRun::showIdle() {
  ui_.Go->setIcon(checkGlyph());
  ui_.Go->setText(TMainForm::tr("Go"));
  setLamp(false);
  app_.set.Stopped = true;
  ui_.Images->setEnabled(true);
  ui_.Null00->setEnabled(true);
  form_.history().updateActions();
}

void MainRun::GoClick() {
  auto& s = app_.set;
  if (!s.Stopped) {
    end();
    return;
  }
  // A commentary edited before the click is offered for saving first; the
  // run starts whatever the answer.
  form_.commentary().askBeforeRun();
  if (!s.Stopped || !ui_.Go->isEnabled()) return;
  runStart_.emplace(s);
  runStepsDone_ = 0;
  s.Stopped = false;
  showRunning();
  ui_.Images->setEnabled(false);
  ui_.Null00->setEnabled(false);
  ui_.Null00->setText(QStringLiteral("0"));
  ui_.Null00->setStyleSheet(TMainForm::null00Style());
  nextStepAt_ = shownAt_ = listedAt_ = {};
  runTime_ = s.Time;
  slice_->start(0);
  slice();  // the first steps at once; the rest from the event loop
}

void MainRun::end() {
  if (app_.set.Stopped && !slice_->isActive()) return;
  slice_->stop();
  showIdle();
  // The last step, whenever it was taken; a drawing that fails still leaves
  // the run's command and its frames.
  std::exception_ptr fault;
  try {
    show(List::IfTicked);
  } catch (...) {
    fault = std::current_exception();
  }
  recordRun();
  form_.pictureCommands().finishRecording();  // every frame of the run on disk, or its error shown
  if (fault) std::rethrow_exception(fault);
}

void MainRun::recordRun() {
  if (runStart_) form_.history().pushChange(MainHistory::runText(runStepsDone_), *runStart_);
  runStart_.reset();
  form_.files().updateTitle();
}

// A fault ends the run at once: the window shows what is true, and the fault
// is reported once the run is over.
void MainRun::endAfterFault() {
  slice_->stop();
  showIdle();
  try {
    show(List::IfTicked);
  } catch (...) {
    // A drawing that failed fails again; the first fault is the one told.
  }
  recordRun();
}

StepControls MainRun::readStepControls() const {
  StepControls c;
  c.forces.taoscope = ui_.Taoscope->isChecked();
  c.forces.peOut = ui_.CheckBox1->isChecked();
  c.forces.pes1Out = ui_.CheckBox2->isChecked();
  c.forces.pes2Out = ui_.CheckBox3->isChecked();
  c.cool = ui_.Cool->isChecked();
  c.blockade = ui_.Blockade->isChecked();
  c.verlet = ui_.VerletStep->isChecked();
  return c;
}

void MainRun::takeStep() {
  auto& s = app_.set;
  MainPicture& picture = form_.pictureCommands();
  const auto n = static_cast<std::int32_t>(static_cast<std::uint32_t>(runTime_) + 1u);  // wraps, as Time does
  try {
    // Nothing can change the controls during a step, so one reading serves it.
    integrateWholeStep(s, readStepControls());
    runTime_ = n;
    ++runStepsDone_;
    picture.recordTrails();
    s.Time = n;
    if (!form_.files().titleMarked()) form_.files().updateTitle();
    if (monitor_) monitor_->stepTaken();
    // A frame is the picture of its own step.
    if (picture.frameDue()) {
      form_.view().DrawTaons();
      picture.keepInView();
      shownAt_ = Clock::now();
      picture.recordFrame();
    }
  } catch (const std::exception& e) {
    noteRunFault(e.what(), n);
    throw;
  }
}

void MainRun::show(List list) {
  const auto now = Clock::now();
  showTime();
  form_.view().DrawTaons();
  form_.pictureCommands().keepInView();
  shownAt_ = now;
  const bool ticked = ui_.ShowList->isChecked();
  if (list == List::Always || (ticked && (list == List::IfTicked || now - listedAt_ >= kListingInterval))) {
    form_.listing().fill();
    listedAt_ = now;
  }
}

std::chrono::milliseconds MainRun::frameInterval() const {
  const QScreen* screen = form_.screen();
  const double hz = screen && screen->refreshRate() >= 10 ? screen->refreshRate() : 60.0;
  return std::chrono::milliseconds(std::max(4, int(1000.0 / hz)));
}

// The Speed menu changes only the timing: the steps are the same at every
// speed. The first step of a paced run, or one that fell behind, sets a new
// beat.
bool MainRun::stepDue(Clock::time_point now) {
  if (stepsPerSecond_ <= 0) return true;
  const auto period = std::chrono::microseconds(1000000 / stepsPerSecond_);
  if (nextStepAt_ == Clock::time_point{} || now - nextStepAt_ > period) nextStepAt_ = now;
  if (now < nextStepAt_) return false;
  nextStepAt_ += period;
  return true;
}

void MainRun::slice() {
  auto& s = app_.set;
  if (s.Stopped) {  // stopped from outside, by an ending signal
    end();
    return;
  }
  runSteps(runTime_);
  if (stepsPerSecond_ > 0) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextStepAt_ - Clock::now()).count();
    slice_->start(int(std::clamp<long long>(wait, 0, 1000)));
  } else if (slice_->interval() != 0) {
    slice_->start(0);
  }
}

void MainRun::runSteps(std::int32_t n) {
  auto& s = app_.set;
  runTime_ = n;
  if (s.Stopped) {
    takeStep();
    show(List::IfTicked);
    form_.pictureCommands().finishRecording();
    return;
  }
  const auto until = Clock::now() + kSlice;
  try {
    bool stepped = false;
    for (auto now = Clock::now(); now < until && stepDue(now); now = Clock::now()) {
      takeStep();
      stepped = true;
    }
    // Paced steps are few: each is shown.
    if (stepped && (stepsPerSecond_ > 0 || Clock::now() - shownAt_ >= frameInterval())) show(List::IfDue);
  } catch (...) {
    endAfterFault();
    throw;
  }
}

void MainRun::LTimeDblClick() { ShowTime = !ShowTime; }

void MainRun::showTime() {
  if (ShowTime) ui_.LTime->setText(QString::number(static_cast<std::uint32_t>(app_.set.Time)));
}

void MainRun::Monitor1Click() {
  if (!monitor_) monitor_ = new TMonitor(app_.set, [this] { return readStepControls(); }, &form_);
  monitor_->show();
  monitor_->raise();
  monitor_->activateWindow();
}

void MainRun::GoStopClick() {
  if (ui_.Go->isEnabled()) ui_.Go->click();
}

void MainRun::StepOnceClick() {
  auto& s = app_.set;
  if (!s.Stopped || !ui_.Go->isEnabled()) return;  // only while idle, with a set
  const SetSnapshot before(s);
  // Consecutive single steps are one command.
  constexpr int kSingleStepId = 1;
  runTime_ = s.Time;
  try {
    takeStep();
    show(List::Always);
  } catch (...) {
    form_.history().pushChange(MainHistory::singleStepsText(1), before, kSingleStepId);
    throw;
  }
  form_.history().pushChange(MainHistory::singleStepsText(1), before, kSingleStepId);
  if (monitor_ && monitor_->isVisible()) monitor_->sample(true);
}

void MainRun::SpeedClick(int stepsPerSecond) {
  stepsPerSecond_ = stepsPerSecond;
  nextStepAt_ = {};
  if (slice_->isActive()) slice_->start(0);  // the new pace from now on
}

void MainRun::noteRunFault(const char* message, std::int32_t step) {
  if (monitor_) monitor_->runFaulted(QString::fromUtf8(message), step);
}
