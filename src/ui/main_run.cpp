// The integration run: Go/Stop, the step loop, the lamp and the step counter.
#include <QCoreApplication>
#include <chrono>
#include <utility>
#include <vector>

#include "TMainForm.h"
#include "TMonitor.h"
#include "error_box.h"
#include "glyphs.h"
#include "ui_TMainForm.h"

using namespace zentrova;

void TMainForm::setLamp(bool runningColours) {
  const auto circle = [](const char* rgb) {
    return QStringLiteral("background-color: rgb(%1); border: 1px solid black; border-radius: 7px;")
        .arg(QLatin1String(rgb));
  };
  ui->ShapeRed->setStyleSheet(circle(runningColours ? "255, 0, 0" : "128, 0, 0"));
  ui->ShapeLime->setStyleSheet(circle(runningColours ? "0, 128, 0" : "0, 255, 0"));
}

void TMainForm::showRunning() {
  ui->Go->setIcon(crossGlyph());
  ui->Go->setText(QStringLiteral("Stop"));
  setLamp(true);
  updateUndoActions();
}

void TMainForm::showIdle() {
  ui->Go->setIcon(checkGlyph());
  ui->Go->setText(QStringLiteral("Go"));
  setLamp(false);
  updateUndoActions();
}

void TMainForm::GoClick() {
  auto& s = app_.set;
  if (s.Stopped) {
    // A commentary edited before the click is offered for saving first; the
    // run starts whatever the answer.
    if (std::exchange(commentAskOnGo_, false)) runGuarded([this] { CommentExit(); });
    if (!s.Stopped || !ui->Go->isEnabled()) return;
    const SetSnapshot before(s);
    const int generation = undoGeneration_;
    runStepsDone_ = 0;
    // The whole run, however it ends, is one command, unless the history was
    // cleared under it (Open, New or Save during the run).
    const auto record = [&] {
      if (generation == undoGeneration_) pushChange(runText(runStepsDone_), before);
      updateTitle();
    };
    s.Stopped = false;
    showRunning();
    ui->Images->setEnabled(false);
    ui->Null00->setEnabled(false);
    ui->Null00->setText(QStringLiteral("0"));
    ui->Null00->setStyleSheet(null00Style());
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

void TMainForm::stopRun() {
  showIdle();
  app_.set.Stopped = true;
  ui->Images->setEnabled(true);
  ui->Null00->setEnabled(true);
}

StepControls TMainForm::readStepControls() const {
  StepControls c;
  c.forces.taoscope = ui->Taoscope->isChecked();
  c.forces.peOut = ui->CheckBox1->isChecked();
  c.forces.pes1Out = ui->CheckBox2->isChecked();
  c.forces.pes2Out = ui->CheckBox3->isChecked();
  c.cool = ui->Cool->isChecked();
  c.blockade = ui->Blockade->isChecked();
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

void TMainForm::stepAndShow(std::int32_t n, bool list) {
  auto& s = app_.set;
  try {
    // Nothing can change the controls during a step, so one reading serves it.
    integrateWholeStep(s, readStepControls());
    ++runStepsDone_;
    recordTrails();
    s.Time = n;
    if (!titleMarked_) updateTitle();
    if (ShowTime) ui->LTime->setText(QString::number(n));
    DrawTaons();
    keepInView();
    if (list) fillListing();
    if (monitor_) monitor_->stepTaken();
    recordFrame();
  } catch (const std::exception& e) {
    noteRunFault(e.what(), n);
    throw;
  }
}

void TMainForm::runSteps(std::int32_t n) {
  auto& s = app_.set;
  using std::chrono::milliseconds;
  FramePacer pacer{{ui->ViewArea, milliseconds(15)}, {ui->DaonsTable->viewport(), milliseconds(50)}};
  do {
    ++n;
    stepAndShow(n, ui->ShowList->isChecked());
    pacer.beforeEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    paceRun();
  } while (!s.Stopped);
  finishRecording();  // every frame of the run on disk, or its error shown
}

void TMainForm::LTimeDblClick() { ShowTime = !ShowTime; }
