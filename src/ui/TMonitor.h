#pragma once
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "analysis/observable_series.h"
#include "state/particle_set.h"

namespace Ui {
class TMonitor;
}
class QChart;
class QLineSeries;
class QAbstractAxis;
class QValueAxis;
class QLogValueAxis;

// The Monitor window: the observables of the set plotted against time while
// it runs, their current values, and the fault that ended the last run.
// It reads the set at the pace the view is shown.
class TMonitor : public QWidget {
  Q_OBJECT
 public:
  TMonitor(const zentrova::ParticleSet& set, QWidget* parent = nullptr);
  ~TMonitor() override;

  Ui::TMonitor& form() { return *ui; }
  const zentrova::ObservableSeries& series() const { return series_; }

  // Reads the set: records a sample if anything changed, and shows it with
  // the plots now, or at the latest with the next sample after the pause
  // between two displays.
  void sample(bool now = false);
  // A fault ended a run in this step.
  void runFaulted(const QString& message, std::int32_t step);
  void writeCsv(const QString& path) const;

  void SaveCsvClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  struct Plot;
  void showValues(const zentrova::Observables& o);
  void redrawPlots();
  void measureRate(std::int32_t step);

  const zentrova::ParticleSet& set_;
  std::unique_ptr<Ui::TMonitor> ui;
  zentrova::ObservableSeries series_;
  QTimer* poll_ = nullptr;
  std::unique_ptr<Plot> kinetic_, radius_, distance_;
  std::optional<zentrova::Observables> shown_;
  std::optional<std::int32_t> faultStep_;
  QElapsedTimer rateClock_, displayClock_;
  bool displayPending_ = false;
  std::int32_t rateStep_ = 0;
  double rate_ = 0;
  bool placed_ = false;
  QString lastCsvName_;
};
