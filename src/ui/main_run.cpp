// The integration run: Go/Stop, the step loop, the lamp, the step counter,
// the Run menu (Step Once, Speed) and the Monitor window.
#include "main_run.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>
#include <utility>
#include <vector>

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
  ui_.Go->setText(QStringLiteral("Stop"));
  setLamp(true);
  form_.history().updateActions();
}

void MainRun::showIdle() {
  ui_.Go->setIcon(checkGlyph());
  ui_.Go->setText(QStringLiteral("Go"));
  setLamp(false);
  form_.history().updateActions();
}

void MainRun::GoClick() {
  auto& s = app_.set;
  if (s.Stopped) {
    // A commentary edited before the click is offered for saving first; the
    // run starts whatever the answer.
    form_.commentary().askBeforeRun();
    if (!s.Stopped || !ui_.Go->isEnabled()) return;
    runStart_.emplace(s);
    runStepsDone_ = 0;
    // The whole run, however it ends, is one command, unless the history was
    // cleared under it (Open, New or Save during the run).
    const auto record = [&] {
      if (runStart_) form_.history().pushChange(MainHistory::runText(runStepsDone_), *runStart_);
      runStart_.reset();
      form_.files().updateTitle();
    };
    s.Stopped = false;
    showRunning();
    ui_.Images->setEnabled(false);
    ui_.Null00->setEnabled(false);
    ui_.Null00->setText(QStringLiteral("0"));
    ui_.Null00->setStyleSheet(TMainForm::null00Style());
    try {
      runSteps(s.Time);
    } catch (...) {
      stopRun();  // a fault ends the run: the window shows what is true
      record();
      throw;
    }
    record();
  } else {
    stopRun();
  }
}

void MainRun::stopRun() {
  showIdle();
  app_.set.Stopped = true;
  ui_.Images->setEnabled(true);
  ui_.Null00->setEnabled(true);
}

StepControls MainRun::readStepControls() const {
  StepControls c;
  c.forces.taoscope = ui_.Taoscope->isChecked();
  c.forces.peOut = ui_.CheckBox1->isChecked();
  c.forces.pes1Out = ui_.CheckBox2->isChecked();
  c.forces.pes2Out = ui_.CheckBox3->isChecked();
  c.cool = ui_.Cool->isChecked();
  c.blockade = ui_.Blockade->isChecked();
  return c;
}

namespace {

// Every step draws the picture and refills the listing, but each is shown on
// screen at most once per interval: repainting costs more than a step of a
// small set, and no eye follows 500 frames a second. Numbers change too fast
// to read well before they are shown twenty times a second.
class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;
  struct Shown {
    QWidget* widget;
    std::chrono::milliseconds interval;
    Clock::time_point last{};
  };
  FramePacer(std::initializer_list<Shown> shown) : shown_(shown) {}
  ~FramePacer() {  // the last step is always shown, also after a fault
    for (Shown& s : shown_) show(s.widget, true);
  }
  // Returns whether the first widget is shown this time.
  bool beforeEvents() {
    const auto now = Clock::now();
    bool first = true, firstShown = false;
    for (Shown& s : shown_) {
      const bool due = now - s.last >= s.interval;
      if (due) s.last = now;
      show(s.widget, due);
      if (first) firstShown = due;
      first = false;
    }
    return firstShown;
  }

 private:
  // Enabling repaints again repaints the widget once, with its latest content.
  static void show(QWidget* w, bool on) {
    if (w->updatesEnabled() != on) w->setUpdatesEnabled(on);
  }
  std::vector<Shown> shown_;
};

}  // namespace

void MainRun::stepAndShow(std::int32_t n, bool list) {
  auto& s = app_.set;
  MainPicture& picture = form_.pictureCommands();
  try {
    // Nothing can change the controls during a step, so one reading serves it.
    integrateWholeStep(s, readStepControls());
    ++runStepsDone_;
    picture.recordTrails();
    s.Time = n;
    if (!form_.files().titleMarked()) form_.files().updateTitle();
    if (ShowTime) ui_.LTime->setText(QString::number(n));
    form_.view().DrawTaons();
    picture.keepInView();
    if (list) form_.listing().fill();
    if (monitor_) monitor_->stepTaken();
    picture.recordFrame();
  } catch (const std::exception& e) {
    noteRunFault(e.what(), n);
    throw;
  }
}

void MainRun::runSteps(std::int32_t n) {
  auto& s = app_.set;
  using std::chrono::milliseconds;
  FramePacer pacer{{ui_.ViewArea, milliseconds(15)}, {ui_.DaonsTable->viewport(), milliseconds(50)}};
  do {
    ++n;
    stepAndShow(n, ui_.ShowList->isChecked());
    pacer.beforeEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    paceRun();
  } while (!s.Stopped);
  form_.pictureCommands().finishRecording();  // every frame of the run on disk, or its error shown
}

void MainRun::LTimeDblClick() { ShowTime = !ShowTime; }

void MainRun::showTime() {
  if (ShowTime) ui_.LTime->setText(QString::number(app_.set.Time));
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
  try {
    stepAndShow(static_cast<std::int32_t>(static_cast<std::uint32_t>(s.Time) + 1u), true);  // wraps as a run does
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
}

void MainRun::noteRunFault(const char* message, std::int32_t step) {
  if (monitor_) monitor_->runFaulted(QString::fromUtf8(message), step);
}

// Holds the run until its next step is due, handling events meanwhile. Only
// the timing changes: the steps are the same at every speed.
void MainRun::paceRun() {
  if (stepsPerSecond_ <= 0) return;
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::microseconds(1000000 / stepsPerSecond_);
  const auto now = Clock::now();
  // The first step of a run, or one that fell behind, sets a new beat.
  nextStepAt_ = nextStepAt_ == Clock::time_point{} || now - nextStepAt_ > period ? now + period
                                                                                  : nextStepAt_ + period;
  while (!app_.set.Stopped && stepsPerSecond_ > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(nextStepAt_ - Clock::now()).count();
    if (left <= 0) break;
    QEventLoop wait;
    QTimer::singleShot(int(std::min<long long>(left, 20)), &wait, &QEventLoop::quit);
    wait.exec();
  }
}
