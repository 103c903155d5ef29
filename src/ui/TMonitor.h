#pragma once
#include <QElapsedTimer>
#include <QHash>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/observable_series.h"
#include "dynamics/step.h"
#include "state/particle_set.h"

namespace Ui {
class TMonitor;
}
class QLabel;
class MonitorPlots;

// The Monitor window: the observables of the set plotted against time while
// it runs, their current values, and the fault that ended the last run.
// A run tells it of every step; it measures only the steps its series keeps
// and shows what it has a few times a second.
class TMonitor : public QWidget {
  Q_OBJECT
 public:
  // `controls` reads the switches of the main window, which the energy and
  // its conservation depend on.
  TMonitor(const zentrova::ParticleSet& set, std::function<zentrova::StepControls()> controls,
           QWidget* parent = nullptr);
  ~TMonitor() override;

  Ui::TMonitor& form() { return *ui; }
  const zentrova::ObservableSeries& series() const { return series_; }
  MonitorPlots& plots();
  // The label that shows the observable of that name.
  QLabel* valueLabel(const char* name) const { return values_.value(QString::fromLatin1(name)); }

  // After every step of a run or of Step Once.
  void stepTaken();
  // Reads the set: records a sample if anything changed, and shows it now,
  // or at the latest when the pause between two displays is over.
  void sample(bool now = false);
  // A fault ended a run in this step.
  void runFaulted(const QString& message, std::int32_t step);
  // Writes the samples; a name without an extension gets ".csv".
  void writeCsv(const QString& path) const;
  static QString withCsvExtension(const QString& path);
  // Where the Monitor opens within the screen's free area: the frame's top
  // left corner and the size inside the frame, beside the main window when
  // one is given and there is room at the least size.
  static QRect placement(const QRect& free, const std::optional<QRect>& main, QSize want, QSize least, QSize frame);

  void SaveCsvClick();
  void CompareClick();
  void NoCompareClick();
  // Reads a saved Monitor CSV or an observe CSV and draws it beside the run.
  void compareWith(const QString& path);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildValues();
  void record(const zentrova::Observables& o);
  void display(const zentrova::Observables& o);
  void measureRate(std::int32_t step);
  void placeOnScreen();

  const zentrova::ParticleSet& set_;
  std::function<zentrova::StepControls()> controls_;
  std::unique_ptr<Ui::TMonitor> ui;
  zentrova::ObservableSeries series_;
  QHash<QString, QLabel*> values_;
  QTimer* poll_ = nullptr;
  std::optional<zentrova::Observables> latest_;
  std::optional<std::int32_t> faultStep_;
  QElapsedTimer rateClock_, displayClock_;
  bool displayPending_ = false;
  bool unseen_ = false;  // steps were taken while hidden since the last sample
  std::int32_t rateStep_ = 0;
  double measureNs_ = 0;  // what measuring one step cost last time
  bool placed_ = false;
  QString lastCsvName_;
  QString lastCompareName_;
};
