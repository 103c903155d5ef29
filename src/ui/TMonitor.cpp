#include "TMonitor.h"

#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScreen>
#include <QValueAxis>
#include <cmath>
#include <limits>

#include "analysis/observables.h"
#include "app_state.h"
#include "error_box.h"
#include "files/file_io.h"
#include "ui_TMonitor.h"

using namespace zentrova;

namespace {

// Samples are taken at the pace the view is shown during a run. The values
// and plots, which cost far more to repaint than a step of a small set, are
// shown at most twenty times a second, like the listing; the eye still sees
// them move smoothly.
constexpr int kPollMs = 15;
constexpr qint64 kDisplayMs = 50;

bool same(const Observables& a, const Observables& b) {
  const auto eq = [](Real x, Real y) { return x == y || (std::isnan(x) && std::isnan(y)); };
  return a.step == b.step && eq(a.time, b.time) && eq(a.kinetic, b.kinetic) && eq(a.kinetic_pe, b.kinetic_pe) &&
         eq(a.kinetic_pes1, b.kinetic_pes1) && eq(a.kinetic_pes2, b.kinetic_pes2) && eq(a.com_x, b.com_x) &&
         eq(a.com_y, b.com_y) && eq(a.com_z, b.com_z) && eq(a.radius, b.radius) &&
         eq(a.min_distance, b.min_distance) && a.min_i == b.min_i && a.min_k == b.min_k;
}

}  // namespace

// One chart: a time axis, a value axis and its curves.
struct TMonitor::Plot {
  QChart* chart;
  QValueAxis* x;
  QAbstractAxis* y;
  bool logarithmic;
  struct Curve {
    QLineSeries* series;
    Real Observables::*field;
    int tailPoints = 0;  // 1 when the last point comes from the last sample
  };
  std::vector<Curve> curves;

  Plot(QChartView* view, const QString& title, bool log) : chart(new QChart), x(new QValueAxis), logarithmic(log) {
    chart->setTheme(QChart::ChartThemeDark);
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(2, 2, 2, 2));
    x->setTitleText(QStringLiteral("time"));
    x->setLabelFormat(QStringLiteral("%.4g"));
    chart->addAxis(x, Qt::AlignBottom);
    if (log) {
      auto* axis = new QLogValueAxis;
      axis->setBase(10);
      axis->setLabelFormat(QStringLiteral("%.3g"));
      y = axis;
    } else {
      auto* axis = new QValueAxis;
      axis->setLabelFormat(QStringLiteral("%.3g"));
      y = axis;
    }
    chart->addAxis(y, Qt::AlignLeft);
    view->setChart(chart);
    view->setRenderHint(QPainter::Antialiasing);
  }

  void add(const QString& name, QPen pen, Real Observables::*field) {
    auto* s = new QLineSeries;
    s->setName(name);
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    s->setPen(pen);
    curves.push_back({s, field});
  }

  // Points that cannot be drawn (not finite, or not positive on the
  // logarithmic axis) are left out.
  bool drawable(double t, double v) const { return std::isfinite(t) && std::isfinite(v) && (!logarithmic || v > 0); }

  // Appends the samples after those drawn before; the last sample is always
  // drawn anew, since the series may replace it. Everything is redrawn only
  // when the series thinned or restarted.
  void redraw(const ObservableSeries& series) {
    const auto& samples = series.samples();
    const bool rebuild = series.revision() != revision || samples.size() < stable || samples.empty();
    if (rebuild) {
      revision = series.revision();
      stable = 0;
      x0 = y0 = std::numeric_limits<double>::infinity();
      x1 = y1 = -x0;
    }
    for (auto& curve : curves) {
      QList<QPointF> points;
      if (!rebuild && curve.tailPoints) curve.series->remove(curve.series->count() - 1);
      curve.tailPoints = 0;
      for (std::size_t n = stable; n < samples.size(); ++n) {
        const double t = double(samples[n].time), v = double(samples[n].*curve.field);
        if (!drawable(t, v)) continue;
        points.append(QPointF(t, v));
        if (n + 1 == samples.size()) curve.tailPoints = 1;
        x0 = std::min(x0, t), x1 = std::max(x1, t), y0 = std::min(y0, v), y1 = std::max(y1, v);
      }
      if (rebuild)
        curve.series->replace(points);
      else
        curve.series->append(points);
    }
    stable = samples.empty() ? 0 : samples.size() - 1;
    if (!(x0 <= x1)) return;
    x->setRange(x0, x0 == x1 ? x0 + 1 : x1);
    if (logarithmic) {
      y->setRange(y0 / 1.5, y1 * 1.5);
    } else {
      const double pad = y1 > y0 ? (y1 - y0) * 0.05 : std::max(std::abs(y0) * 0.05, 1e-9);
      y->setRange(y0 - pad, y1 + pad);
    }
  }

  unsigned revision = ~0u;
  std::size_t stable = 0;  // samples drawn for good
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

TMonitor::TMonitor(const ParticleSet& set, QWidget* parent)
    : QWidget(parent, Qt::Window), set_(set), ui(std::make_unique<Ui::TMonitor>()) {
  ui->setupUi(this);
  const QColor white(255, 255, 255), yellow(255, 255, 0), fuchsia(255, 0, 255), aqua(0, 255, 255);
  kinetic_ = std::make_unique<Plot>(ui->KineticChart, QStringLiteral("Kinetic energy"), false);
  const QPen solid(white, 1.5), dashed(white, 1.5, Qt::DashLine);
  // The total goes on top, dashed, so that a group that holds all the energy
  // does not hide it.
  kinetic_->add(QStringLiteral("PE"), QPen(yellow, 1.5), &Observables::kinetic_pe);
  kinetic_->add(QStringLiteral("PES1"), QPen(fuchsia, 1.5), &Observables::kinetic_pes1);
  kinetic_->add(QStringLiteral("PES2"), QPen(aqua, 1.5), &Observables::kinetic_pes2);
  kinetic_->add(QStringLiteral("total"), dashed, &Observables::kinetic);
  radius_ = std::make_unique<Plot>(ui->RadiusChart, QStringLiteral("Radius"), false);
  radius_->add(QStringLiteral("radius"), solid, &Observables::radius);
  distance_ = std::make_unique<Plot>(ui->DistanceChart, QStringLiteral("Minimum distance"), true);
  distance_->add(QStringLiteral("closest pair"), solid, &Observables::min_distance);
  poll_ = new QTimer(this);
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, [this] { runGuarded([this] { sample(); }); });
  connect(ui->SaveCsv, &QPushButton::clicked, this, [this] { runGuarded([this] { SaveCsvClick(); }); });
  rateClock_.start();
}

TMonitor::~TMonitor() = default;

void TMonitor::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_ && parentWidget()) {  // beside the main window, on the screen
    placed_ = true;
    const QRect main = parentWidget()->frameGeometry();
    const QRect screen = parentWidget()->screen()->availableGeometry();
    const int w = frameGeometry().width();
    int x = main.right() + 8;
    if (x + w > screen.right()) x = main.left() - 8 - w;
    if (x < screen.left()) x = std::max(screen.left(), screen.right() - w);
    move(x, std::max(screen.top(), main.top()));
  }
  rateStep_ = set_.Time;  // steps per second count from now
  rateClock_.restart();
  ui->LRate->setText(QStringLiteral("-"));
  sample(true);
  poll_->start();
}

void TMonitor::hideEvent(QHideEvent* event) {
  poll_->stop();
  QWidget::hideEvent(event);
}

void TMonitor::measureRate(std::int32_t step) {
  const qint64 ms = rateClock_.elapsed();
  if (step < rateStep_) rateStep_ = step;  // another set was loaded
  if (ms < 500) return;
  rate_ = double(step - rateStep_) * 1000.0 / double(ms);
  rateStep_ = step;
  rateClock_.restart();
  ui->LRate->setText(QString::number(rate_, 'f', 0));
}

void TMonitor::sample(bool now) {
  const Observables o = observe(set_);
  measureRate(o.step);
  if (faultStep_ && (o.step >= *faultStep_ || o.step < *faultStep_ - 1)) {
    faultStep_.reset();  // a later run went past it, or another set was loaded
    ui->LFault->clear();
  }
  const bool changed = !shown_ || !same(*shown_, o);
  if (changed) {
    shown_ = o;
    series_.record(o);
    displayPending_ = true;
  }
  // The last samples of a run that has ended are shown at once.
  if (!displayPending_ || (!now && changed && displayClock_.isValid() && displayClock_.elapsed() < kDisplayMs)) return;
  displayClock_.restart();
  displayPending_ = false;
  showValues(o);
  redrawPlots();
}

void TMonitor::showValues(const Observables& o) {
  ui->LStep->setText(QString::number(o.step));
  ui->LTime->setText(realText(o.time));
  ui->LKinetic->setText(realText(o.kinetic));
  ui->LKineticPE->setText(realText(o.kinetic_pe));
  ui->LKineticPES1->setText(realText(o.kinetic_pes1));
  ui->LKineticPES2->setText(realText(o.kinetic_pes2));
  ui->LCentreX->setText(realText(o.com_x));
  ui->LCentreY->setText(realText(o.com_y));
  ui->LCentreZ->setText(realText(o.com_z));
  ui->LRadius->setText(realText(o.radius));
  const bool pair = o.min_i != 0;
  ui->LMinDistance->setText(pair ? realText(o.min_distance) : QStringLiteral("-"));
  ui->LPair->setText(pair ? QStringLiteral("%1 and %2").arg(o.min_i).arg(o.min_k) : QStringLiteral("-"));
}

void TMonitor::redrawPlots() {
  kinetic_->redraw(series_);
  radius_->redraw(series_);
  distance_->redraw(series_);
}

void TMonitor::runFaulted(const QString& message, std::int32_t step) {
  faultStep_ = step;
  ui->LFault->setText(QStringLiteral("Step %1: %2").arg(step).arg(message));
}

void TMonitor::writeCsv(const QString& path) const {
  const std::string text = series_.csv();
  writeFileReplacing(toLocal(path), reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void TMonitor::SaveCsvClick() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the series"), lastCsvName_,
                                                    QStringLiteral("CSV files (*.csv);;All files (*)"));
  if (path.isEmpty()) return;
  lastCsvName_ = path;
  writeCsv(path);
}
