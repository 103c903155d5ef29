// Steps per second of a run in the main window (offscreen, Show Listing
// ticked) against the same steps without a window, on a set after it has
// evolved (by default three-groups.lis1 after 2000 steps); with --monitor or
// --record, also the run with the Monitor open or with frames recorded every
// 10 steps, each against the headless step and against the same run without,
// in turns.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <ctime>
#include <functional>

#include "TMainForm.h"
#include "TMonitor.h"
#include "app_state.h"
#include "dialogs.h"
#include "dynamics/step.h"
#include "files/set_file.h"
#include "files/startup_file.h"

using namespace zentrova;
using Clock = std::chrono::steady_clock;

namespace {

double cpuSeconds();

// Also the processor time of all threads a step, which other work on the
// machine changes far less than the rate.
double headlessStepsPerSecond(const ParticleSet& start, int steps, double* cpuPerStep = nullptr) {
  ParticleSet s = start;
  const StepControls c;
  const double cpu0 = cpuSeconds();
  const auto t0 = Clock::now();
  for (int n = 0; n < steps; ++n) integrateStep(s, c);
  const double rate = steps / std::chrono::duration<double>(Clock::now() - t0).count();
  if (cpuPerStep) *cpuPerStep = (cpuSeconds() - cpu0) / std::max(1, steps);
  return rate;
}

// Record Frames' question answered with a scratch folder.
class BenchDialogs : public DialogProvider {
 public:
  QString folder;
  std::optional<QString> openSetFileName(QWidget*, const QString&) override { return std::nullopt; }
  std::optional<QString> saveSetFileName(QWidget*, const QString&) override { return std::nullopt; }
  bool confirm(QWidget*, const QString&, const QString&) override { return false; }
  void information(QWidget*, const QString&) override {}
  int execModal(QDialog*) override { return 0; }
  std::optional<QString> framesFolder(QWidget*, const QString&) override { return folder; }
  SaveAnswer saveChanges(QWidget*, const QString&) override { return SaveAnswer::Discard; }
};

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// One run of the window from the dense set as it was saved: steps per second,
// and the processor time of all threads per step, which other work on the
// machine changes far less.
double windowRun(AppState& app, const ParticleSet& start, QPushButton* go, int ms, int* stepsOut = nullptr,
                 double* cpuPerStep = nullptr) {
  const double cpu0 = cpuSeconds();
  app.set = start;
  app.set.Time = 0;
  Clock::time_point started, stopped;
  std::int32_t steps = 0;
  QEventLoop loop;
  QTimer::singleShot(0, [&] {
    started = Clock::now();
    go->click();  // starts the run, which goes on in the event loop
  });
  QTimer::singleShot(ms, [&] {
    stopped = Clock::now();
    steps = app.set.Time;
    go->click();
    loop.quit();
  });
  loop.exec();
  if (stepsOut) *stepsOut = steps;
  if (cpuPerStep) *cpuPerStep = (cpuSeconds() - cpu0) / std::max(1, steps);
  return steps / std::chrono::duration<double>(stopped - started).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  // bench_window_run [SECONDS] [--no-listing] [--monitor] [--record] [--set PATH] [--warm STEPS]
  int seconds = 5, warm = 2000;
  bool listing = true, monitor = false, record = false;
  std::string from = ZENTROVA_EXAMPLES "/three-groups.lis1";
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (arg == "--no-listing") listing = false;
    else if (arg == "--monitor") monitor = true;
    else if (arg == "--record") record = true;
    else if (arg == "--set" && a + 1 < argc) from = argv[++a];
    else if (arg == "--warm" && a + 1 < argc) warm = std::max(0, std::atoi(argv[++a]));
    else seconds = std::max(1, std::atoi(argv[a]));
  }

  // The set as it is after `warm` steps, saved where the window starts from.
  char tmpl[] = "/tmp/zentrova-bench-XXXXXX";
  const std::filesystem::path dir = mkdtemp(tmpl);
  const std::string setPath = (dir / "warm.lis1").string();
  ParticleRecord record_{};
  ParticleSet evolved;
  evolved.Count = kMaxParticles;
  readSetFile(from, record_);
  loadRecordIntoSet(record_, evolved);
  runStepsHeadless(evolved, {}, warm);
  evolved.Time = 0;
  saveSet(evolved, record_, setPath);
  std::printf("set: %s after %d steps\n", from.c_str(), warm);

  static AppState app;
  app.startupPath = (dir / "Start.zent").string();
  writeStartupFile(app.startupPath, setPath);

  TMainForm window(app);
  window.show();
  QApplication::processEvents();
  QPushButton* go = window.findChild<QPushButton*>(QStringLiteral("Go"));
  QCheckBox* showList = window.findChild<QCheckBox*>(QStringLiteral("ShowList"));
  QAction* recordFrames = window.findChild<QAction*>(QStringLiteral("RecordFrames"));
  if (!go || !showList || !recordFrames) return 1;
  showList->setChecked(listing);
  const ParticleSet start = app.set;
  double cpuHeadless = 0, cpuAfter = 0, cpuWindow = 0;
  const double headlessBefore = headlessStepsPerSecond(start, std::max(100, seconds * 200), &cpuHeadless);

  int steps = 0;
  const double inWindow = windowRun(app, start, go, seconds * 1000, &steps, &cpuWindow);
  // Headless right before and right after, so that a change in the
  // machine's load during the run falls on both sides alike.
  const double headless = (headlessBefore + headlessStepsPerSecond(start, steps > 0 ? steps / 2 : 100, &cpuAfter)) / 2;
  cpuHeadless = (cpuHeadless + cpuAfter) / 2;
  std::printf("in the window: %8.2f steps/s (%d steps, Show Listing %s)\n", inWindow, steps,
              listing ? "ticked" : "not ticked");
  std::printf("headless:      %8.2f steps/s\n", headless);
  std::printf("ratio:         %8.1f %%; by processor time a step %5.1f %% (%.3f ms headless, %.3f ms in the window)\n",
              100.0 * inWindow / headless, 100.0 * cpuHeadless / cpuWindow, cpuHeadless * 1e3, cpuWindow * 1e3);

  // Two rounds of without and with, in turns, against drifts of the load.
  const auto compare = [&](const char* what, const std::function<void(bool)>& on) {
    double without = 0, with = 0, cpuWithout = 0, cpuWith = 0;
    for (int round = 0; round < 2; ++round) {
      double cpu = 0;
      on(false);
      without += windowRun(app, start, go, seconds * 500, nullptr, &cpu);
      cpuWithout += cpu;
      on(true);
      with += windowRun(app, start, go, seconds * 500, nullptr, &cpu);
      cpuWith += cpu;
    }
    on(false);
    std::printf("%-14s %8.2f steps/s, %5.1f %% of headless (by processor time %5.1f %%); without %8.2f: %5.1f %%; "
                "processor time a step %.3f ms, without %.3f ms\n",
                what, with / 2, 100.0 * with / 2 / headless, 100.0 * cpuHeadless / (cpuWith / 2), without / 2,
                100.0 * with / without, cpuWith * 500, cpuWithout * 500);
  };
  if (monitor)
    compare("Monitor open:", [&](bool open) {
      if (open) {
        window.Monitor1Click();
      } else if (window.monitor()) {
        window.monitor()->hide();
      }
      QApplication::processEvents();
    });
  if (record) {
    static BenchDialogs dialogs;
    setDialogProvider(&dialogs);
    int take = 0;
    compare("Recording:", [&](bool on) {
      if (on) {
        dialogs.folder = QString::fromStdString((dir / ("frames" + std::to_string(++take))).string());
        std::filesystem::create_directories(dialogs.folder.toStdString());
      }
      if (recordFrames->isChecked() != on) recordFrames->trigger();
    });
    std::printf("frames written: %d\n", int(std::distance(std::filesystem::directory_iterator(dialogs.folder.toStdString()),
                                                          std::filesystem::directory_iterator{})));
    setDialogProvider(nullptr);
  }
  if (window.monitor()) window.monitor()->hide();
  std::filesystem::remove_all(dir);
  return 0;
}
