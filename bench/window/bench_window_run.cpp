// Steps per second of a run in the main window (offscreen, Show Listing
// ticked, the view redrawn every step) against the same steps without a
// window, on a dense 60-particle set.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "TMainForm.h"
#include "app_state.h"
#include "dynamics/bench_set.h"
#include "dynamics/step.h"
#include "files/set_file.h"
#include "files/startup_file.h"

using namespace zentrova;
using Clock = std::chrono::steady_clock;

namespace {

double headlessStepsPerSecond(int steps) {
  ParticleSet s = denseBenchSet();
  const StepControls c;
  const auto t0 = Clock::now();
  for (int n = 0; n < steps; ++n) integrateStep(s, c);
  return steps / std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  // bench_window_run [SECONDS] [--no-listing]
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  const bool listing = !(argc > 2 && std::string(argv[2]) == "--no-listing");

  char tmpl[] = "/tmp/zentrova-bench-XXXXXX";
  const std::filesystem::path dir = mkdtemp(tmpl);
  const std::string setPath = (dir / "dense.lis1").string();
  ParticleRecord record{};
  saveSet(denseBenchSet(), record, setPath);

  static AppState app;
  app.startupPath = (dir / "Start.zent").string();
  writeStartupFile(app.startupPath, setPath);

  const double headlessBefore = headlessStepsPerSecond(std::max(100, seconds * 200));

  TMainForm window(app);
  window.show();
  QPushButton* go = window.findChild<QPushButton*>(QStringLiteral("Go"));
  QCheckBox* showList = window.findChild<QCheckBox*>(QStringLiteral("ShowList"));
  if (!go || !showList) return 1;
  showList->setChecked(listing);

  Clock::time_point started, stopped;
  std::int32_t steps = 0;
  QTimer::singleShot(200, [&] {
    started = Clock::now();
    go->click();  // returns when the run has been stopped
  });
  QTimer::singleShot(200 + seconds * 1000, [&] {
    stopped = Clock::now();
    steps = app.set.Time;
    go->click();
    QTimer::singleShot(0, &application, &QApplication::quit);
  });
  application.exec();

  const double inWindow = steps / std::chrono::duration<double>(stopped - started).count();
  // Headless right before and right after, so that a change in the
  // machine's load during the run falls on both sides alike.
  const double headless = (headlessBefore + headlessStepsPerSecond(steps > 0 ? steps / 2 : 100)) / 2;
  std::printf("in the window: %8.2f steps/s (%d steps, Show Listing %s)\n", inWindow, steps,
              listing ? "ticked" : "not ticked");
  std::printf("headless:      %8.2f steps/s\n", headless);
  std::printf("ratio:         %8.1f %%\n", 100.0 * inWindow / headless);
  std::filesystem::remove_all(dir);
  return 0;
}
