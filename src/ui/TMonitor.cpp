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

// The same pace as the view during a run.
constexpr int kPollMs = 15;

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
  std::vector<std::pair<QLineSeries*, Real Observables::*>> curves;

  Plot(QChartView* view, const QString& title, bool log) : chart(new QChart), x(new QValueAxis), logarithmic(log) {
    chart->setTheme(QChart::ChartThemeDark);
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(2, 2, 2, 2));
    x->setTitleText(QStringLiteral("time"));
    x->setLabelFormat(QStringLiteral("%g"));
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

  void add(const QString& name, QColor colour, Real Observables::*field) {
    auto* s = new QLineSeries;
    s->setName(name);
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    s->setPen(QPen(colour, 1.5));
    curves.emplace_back(s, field);
  }

  // Points that cannot be drawn (not finite, or not positive on the
  // logarithmic axis) are left out.
  void redraw(const std::vector<Observables>& samples) {
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = x0, y1 = -x0;
    for (auto& [series, field] : curves) {
      QList<QPointF> points;
      points.reserve(qsizetype(samples.size()));
      for (const Observables& o : samples) {
        const double t = double(o.time), v = double(o.*field);
        if (!std::isfinite(t) || !std::isfinite(v) || (logarithmic && v <= 0)) continue;
        points.append(QPointF(t, v));
        x0 = std::min(x0, t), x1 = std::max(x1, t), y0 = std::min(y0, v), y1 = std::max(y1, v);
      }
      series->replace(points);
    }
    if (!(x0 <= x1)) return;
    if (x0 == x1) x1 = x0 + 1;
    x->setRange(x0, x1);
    if (logarithmic) {
      y->setRange(y0 / 1.5, y1 * 1.5);
    } else {
      const double pad = y1 > y0 ? (y1 - y0) * 0.05 : std::max(std::abs(y0) * 0.05, 1e-9);
      y->setRange(y0 - pad, y1 + pad);
    }
  }
};

TMonitor::TMonitor(const ParticleSet& set, QWidget* parent)
    : QWidget(parent, Qt::Window), set_(set), ui(std::make_unique<Ui::TMonitor>()) {
  ui->setupUi(this);
  const QColor white(255, 255, 255), yellow(255, 255, 0), fuchsia(255, 0, 255), aqua(0, 255, 255);
  kinetic_ = std::make_unique<Plot>(ui->KineticChart, QStringLiteral("Kinetic energy"), false);
  kinetic_->add(QStringLiteral("total"), white, &Observables::kinetic);
  kinetic_->add(QStringLiteral("PE"), yellow, &Observables::kinetic_pe);
  kinetic_->add(QStringLiteral("PES1"), fuchsia, &Observables::kinetic_pes1);
  kinetic_->add(QStringLiteral("PES2"), aqua, &Observables::kinetic_pes2);
  radius_ = std::make_unique<Plot>(ui->RadiusChart, QStringLiteral("Radius"), false);
  radius_->add(QStringLiteral("radius"), white, &Observables::radius);
  distance_ = std::make_unique<Plot>(ui->DistanceChart, QStringLiteral("Minimum distance"), true);
  distance_->add(QStringLiteral("closest pair"), white, &Observables::min_distance);
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
  sample();
  poll_->start();
}

void TMonitor::hideEvent(QHideEvent* event) {
  poll_->stop();
  QWidget::hideEvent(event);
}

void TMonitor::measureRate(std::int32_t step) {
  const qint64 ms = rateClock_.elapsed();
  if (step < rateStep_) rateStep_ = step;
  if (ms < 250) return;
  rate_ = double(step - rateStep_) * 1000.0 / double(ms);
  rateStep_ = step;
  rateClock_.restart();
  ui->LRate->setText(QString::number(rate_, 'f', 0));
}

void TMonitor::sample() {
  const Observables o = observe(set_);
  measureRate(o.step);
  if (faultStep_ && (o.step >= *faultStep_ || o.step < *faultStep_ - 1)) {
    faultStep_.reset();  // a later run went past it, or another set was loaded
    ui->LFault->clear();
  }
  if (shown_ && same(*shown_, o)) return;
  shown_ = o;
  series_.record(o);
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
  if (!isVisible()) return;
  const auto& samples = series_.samples();
  kinetic_->redraw(samples);
  radius_->redraw(samples);
  distance_->redraw(samples);
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
