// The Run menu (Go / Stop, Step Once, Speed) and the Monitor window.
#include <QActionGroup>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>

#include "TMainForm.h"
#include "TMonitor.h"
#include "error_box.h"
#include "ui_TMainForm.h"

using namespace zentrova;

void TMainForm::connectRunControl() {
  const auto on = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { handler(this); }); });
  };
  on(ui->Monitor1, [](TMainForm* w) { w->Monitor1Click(); });
  on(ui->GoStop, [](TMainForm* w) { w->GoStopClick(); });
  on(ui->StepOnce, [](TMainForm* w) { w->StepOnceClick(); });
  on(ui->SpeedFull, [](TMainForm* w) { w->SpeedClick(0); });
  on(ui->Speed100, [](TMainForm* w) { w->SpeedClick(100); });
  on(ui->Speed10, [](TMainForm* w) { w->SpeedClick(10); });
  auto* speeds = new QActionGroup(this);
  for (QAction* a : {ui->SpeedFull, ui->Speed100, ui->Speed10}) speeds->addAction(a);
  // The menu shows which commands apply now; the keys are checked by the
  // handlers, so that F10 never depends on when the menu was last opened.
  connect(ui->Run1, &QMenu::aboutToShow, this, [this] {
    ui->GoStop->setEnabled(ui->Go->isEnabled());
    ui->StepOnce->setEnabled(ui->Go->isEnabled() && app_.set.Stopped);
  });
  connect(ui->Run1, &QMenu::aboutToHide, this, [this] {
    ui->GoStop->setEnabled(true);
    ui->StepOnce->setEnabled(true);
  });
}

void TMainForm::Monitor1Click() {
  if (!monitor_) monitor_ = new TMonitor(app_.set, [this] { return readStepControls(); }, this);
  monitor_->show();
  monitor_->raise();
  monitor_->activateWindow();
}

void TMainForm::GoStopClick() {
  if (ui->Go->isEnabled()) ui->Go->click();
}

void TMainForm::StepOnceClick() {
  auto& s = app_.set;
  if (!s.Stopped || !ui->Go->isEnabled()) return;  // only while idle, with a set
  const SetSnapshot before(s);
  // Consecutive single steps are one command.
  constexpr int kSingleStepId = 1;
  try {
    stepAndShow(static_cast<std::int32_t>(static_cast<std::uint32_t>(s.Time) + 1u), true);  // wraps as a run does
  } catch (...) {
    pushChange(singleStepsText(1), before, kSingleStepId);
    throw;
  }
  pushChange(singleStepsText(1), before, kSingleStepId);
  if (monitor_ && monitor_->isVisible()) monitor_->sample(true);
}

void TMainForm::SpeedClick(int stepsPerSecond) {
  stepsPerSecond_ = stepsPerSecond;
  nextStepAt_ = {};
}

void TMainForm::noteRunFault(const char* message, std::int32_t step) {
  if (monitor_) monitor_->runFaulted(QString::fromUtf8(message), step);
}

// Holds the run until its next step is due, handling events meanwhile. Only
// the timing changes: the steps are the same at every speed.
void TMainForm::paceRun() {
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
