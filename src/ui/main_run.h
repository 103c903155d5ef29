#pragma once
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <optional>

#include "dynamics/step.h"
#include "main_part.h"
#include "state/set_snapshot.h"

class TMonitor;

// The integration run: Go/Stop, Step Once, the Speed menu, the lamp, the step
// counter and the Monitor window that follows the steps.
//
// A run is driven by the event loop: a zero-interval timer takes steps for a
// slice of a few milliseconds and returns, so every handler runs between two
// slices, never inside one. Each step does all a step must (the set, the
// count, trails, the title's mark, the Monitor, recorded frames); the picture
// is drawn at the screen's pace, the listing at most every 50 ms, and both
// always for the run's last step.
class MainRun : public MainPart {
 public:
  explicit MainRun(TMainForm& form);
  ~MainRun() override;

  void GoClick();
  // The steps after step `n`: one slice of them while a run goes; while
  // stopped, one step, shown as a run's last.
  void runSteps(std::int32_t n);
  // Ends a run in progress as Stop does.
  void end();
  void GoStopClick();
  void StepOnceClick();
  void SpeedClick(int stepsPerSecond);  // 0: full speed
  void Monitor1Click();
  void LTimeDblClick();
  // The step counter, when it is shown.
  void showTime();
  TMonitor* monitor() const { return monitor_; }
  // The switches of the window as one step reads them.
  zentrova::StepControls readStepControls() const;

 private:
  using Clock = std::chrono::steady_clock;
  enum class List { IfDue, IfTicked, Always };
  void slice();
  // One step after runTime_, and all a step must do but showing it.
  void takeStep();
  void show(List list);
  bool stepDue(Clock::time_point now);
  std::chrono::milliseconds frameInterval() const;
  // The run's one command in the history, unless the history started anew
  // under it.
  void recordRun();
  void endAfterFault();
  void noteRunFault(const char* message, std::int32_t step);
  void showRunning();
  void showIdle();
  void setLamp(bool runningColours);

  QTimer* slice_ = nullptr;
  TMonitor* monitor_ = nullptr;
  bool ShowTime = false;
  int stepsPerSecond_ = 0;
  Clock::time_point nextStepAt_{};
  Clock::time_point shownAt_{}, listedAt_{};
  std::int32_t runTime_ = 0;  // the run's own count; Time follows it
  std::int64_t runStepsDone_ = 0;
  // The set as the run found it, for the run's one command; dropped when the
  // history starts anew under the run (Open, New or Save during the run).
  std::optional<zentrova::SetSnapshot> runStart_;
};
