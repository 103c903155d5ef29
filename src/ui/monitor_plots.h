#pragma once
#include <QColor>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "analysis/observable_series.h"

// The Monitor's plots, stacked over one time axis: every plot has the same
// left edge, width and time range, so that events line up. A stretch of the
// run that was not watched is left as a gap. Drawn with the painter from the
// series as it is at the last refresh(), which is all that costs anything.
class MonitorPlots : public QWidget {
  Q_OBJECT
 public:
  explicit MonitorPlots(QWidget* parent = nullptr);

  // Takes the samples anew; the widget repaints from them.
  void refresh(const zentrova::ObservableSeries& series);
  // A run to compare with, read from a file: drawn dashed beside the live
  // one on the same time axis from the next refresh on, each curve's name
  // followed by `name`.
  void setCompared(std::vector<zentrova::Observables> samples, const QString& name);
  void clearCompared();
  const std::vector<zentrova::Observables>& compared() const { return compared_; }

  struct Curve {
    QString name;
    QColor colour;
    bool dashed = false;
    // Runs of samples joined by lines, as (time, value).
    std::vector<QPolygonF> stretches;
  };
  struct Panel {
    QString title;
    bool fromZero = false;  // a quantity that cannot be negative
    bool logarithmic = false;
    QString emptyText;  // shown when no curve has a point
    std::vector<Curve> curves;
    double y0 = 0, y1 = 1;  // the value axis, at round values
    std::vector<double> ticks;
  };
  const std::vector<Panel>& panels() const { return panels_; }
  double t0() const { return t0_; }
  double t1() const { return t1_; }
  const std::vector<double>& timeTicks() const { return timeTicks_; }
  // Where the plot of panel n lies in the widget, for the current size.
  QRectF plotArea(int n) const;

  // Round values between lo and hi, about `count` of them: steps of 1, 2 or
  // 5 times a power of ten.
  static std::vector<double> roundTicks(double lo, double hi, int count);
  static QString tickText(double v);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int leftMargin() const;
  std::vector<Panel> panels_;
  double t0_ = 0, t1_ = 1;
  std::vector<double> timeTicks_;
  std::vector<zentrova::Observables> compared_;
  QString comparedName_;
};
