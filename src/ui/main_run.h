#pragma once
#include <chrono>
#include <cstdint>
#include <optional>

#include "dynamics/step.h"
#include "main_part.h"
#include "state/set_snapshot.h"

class TMonitor;

// The integration run: Go/Stop, Step Once, the Speed menu, the lamp, the step
// counter and the Monitor window that follows the steps.
class MainRun : public MainPart {
 public:
  explicit MainRun(TMainForm& form);
  ~MainRun() override;

  void GoClick();
  void runSteps(std::int32_t n);
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
  void showIdle();

 private:
  void paceRun();
  void noteRunFault(const char* message, std::int32_t step);
  // One step of a run or of Step Once: computed, counted, drawn, listed.
  void stepAndShow(std::int32_t n, bool list);
  void showRunning();
  void stopRun();
  void setLamp(bool runningColours);

  TMonitor* monitor_ = nullptr;
  bool ShowTime = false;
  int stepsPerSecond_ = 0;
  std::chrono::steady_clock::time_point nextStepAt_{};
  std::int64_t runStepsDone_ = 0;
  // The set as the run found it, for the run's one command; dropped when the
  // history starts anew under the run.
  std::optional<zentrova::SetSnapshot> runStart_;
};
