#include "monitor_plots.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "analysis/observable_table.h"
#include "observable_texts.h"

using namespace zentrova;

namespace {

const QColor kBackground(0x2e, 0x30, 0x3a), kPlotBackground(0x24, 0x26, 0x2e), kGrid(0x50, 0x53, 0x60),
    kText(0xd0, 0xd0, 0xd0), kNote(0xff, 0x90, 0x90);

constexpr const char* kDrift = QT_TRANSLATE_NOOP("MonitorPlots", "drift");

struct PanelLook {
  MonitorPlot plot;  // MonitorPlot::None for the drift
  const char* title;
  bool fromZero, logarithmic;
};

const PanelLook kPanels[] = {
    {MonitorPlot::Kinetic, QT_TRANSLATE_NOOP("MonitorPlots", "Kinetic energy"), true, false},
    {MonitorPlot::Energy, QT_TRANSLATE_NOOP("MonitorPlots", "Energy"), false, false},
    {MonitorPlot::None, QT_TRANSLATE_NOOP("MonitorPlots", "Relative energy drift (E − E₀) / |E₀|"), false, false},
    {MonitorPlot::Radius, QT_TRANSLATE_NOOP("MonitorPlots", "Radius"), false, false},
    {MonitorPlot::Distance, QT_TRANSLATE_NOOP("MonitorPlots", "Minimum distance"), false, true},
};

// Each curve's columns in the table's order, but the dashed total last, on top.
std::vector<const ObservableColumn*> columnsOf(MonitorPlot plot) {
  std::vector<const ObservableColumn*> cols;
  for (const ObservableColumn& c : observableTable())
    if (c.plot == plot && plot != MonitorPlot::None) cols.push_back(&c);
  std::stable_partition(cols.begin(), cols.end(), [](const ObservableColumn* c) { return !c->dashed; });
  return cols;
}

}  // namespace

MonitorPlots::MonitorPlots(QWidget* parent) : QWidget(parent) {
  setMinimumSize(240, 300);
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (const PanelLook& look : kPanels) {
    Panel p;
    p.title = tr(look.title);
    p.fromZero = look.fromZero;
    p.logarithmic = look.logarithmic;
    if (look.plot == MonitorPlot::None) {
      p.curves.push_back({tr(kDrift), QColor(0x80, 0xff, 0x80)});
    } else {
      for (const ObservableColumn* c : columnsOf(look.plot))
        p.curves.push_back({observableText(c->curve), QColor(QRgb(c->rgb)), c->dashed});
    }
    panels_.push_back(p);
  }
}

std::vector<double> MonitorPlots::roundTicks(double lo, double hi, int count) {
  std::vector<double> ticks;
  if (!(hi > lo) || !std::isfinite(hi - lo) || count < 1) return ticks;
  const double raw = (hi - lo) / count;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  double step = decade;
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * decade >= raw) {
      step = m * decade;
      break;
    }
  const double first = std::ceil(lo / step - 1e-9);
  for (double k = first; k * step <= hi + step * 1e-9 && ticks.size() < 100; k += 1) {
    const double v = k * step;
    ticks.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
  }
  return ticks;
}

QString MonitorPlots::tickText(double v) {
  if (v == 0) return QStringLiteral("0");
  const double a = std::abs(v);
  if (a >= 1e-4 && a < 1e6) return QLocale().toString(v, 'g', 6);
  const int e = int(std::floor(std::log10(a) + 1e-9));
  const double m = v / std::pow(10.0, e);
  return QLocale().toString(m, 'g', 4) + QStringLiteral("E") + QString::number(e);
}

namespace {

// The drift counts from the first sample of each stretch of conservative
// samples: a change of switches or of the set starts a new reference.
std::vector<double> driftOf(const std::vector<Observables>& s) {
  std::vector<double> drift(s.size(), std::numeric_limits<double>::quiet_NaN());
  double e0 = 0;
  for (std::size_t n = 0; n < s.size(); ++n) {
    if (!s[n].conservative) continue;
    if (n == 0 || !s[n - 1].conservative) e0 = double(s[n].energy);
    if (e0 != 0) drift[n] = (double(s[n].energy) - e0) / std::abs(e0);
  }
  return drift;
}

// The stretches of one curve; widens [lo, hi] to the values drawn.
std::vector<QPolygonF> stretchesOf(const std::vector<Observables>& s, const std::function<bool(std::size_t)>& joined,
                                   const ObservableColumn* col, const std::vector<double>& drift, bool logarithmic,
                                   double& lo, double& hi) {
  std::vector<QPolygonF> out;
  QPolygonF run;
  for (std::size_t n = 0; n < s.size(); ++n) {
    double v;
    if (!col) {
      v = drift[n];
    } else {
      v = double(observableValue(*col, s[n]));
      if (col->onlyConserved && !s[n].conservative) v = std::numeric_limits<double>::quiet_NaN();
    }
    const double t = double(s[n].time);
    const bool drawable = std::isfinite(t) && std::isfinite(v) && (!logarithmic || v > 0);
    if (!run.isEmpty() && (!drawable || !joined(n))) out.push_back(std::move(run)), run = {};
    if (!drawable) continue;
    run.append(QPointF(t, v));
    lo = std::min(lo, v), hi = std::max(hi, v);
  }
  if (!run.isEmpty()) out.push_back(std::move(run));
  return out;
}

}  // namespace

void MonitorPlots::setCompared(std::vector<Observables> samples, const QString& name) {
  compared_ = std::move(samples);
  comparedName_ = name;
}

void MonitorPlots::clearCompared() {
  compared_.clear();
  comparedName_.clear();
}

void MonitorPlots::refresh(const ObservableSeries& series) {
  const auto& s = series.samples();
  // Both runs share the time axis.
  t0_ = std::numeric_limits<double>::infinity();
  t1_ = -t0_;
  for (const std::vector<Observables>* samples : std::initializer_list<const std::vector<Observables>*>{&s, &compared_})
    for (const Observables& o : *samples) {
      const double t = double(o.time);
      if (std::isfinite(t)) t0_ = std::min(t0_, t), t1_ = std::max(t1_, t);
    }
  if (!(t0_ <= t1_)) t0_ = 0, t1_ = 1;
  if (t1_ == t0_) t1_ = t0_ + 1;
  timeTicks_ = roundTicks(t0_, t1_, 6);

  const std::vector<double> drift = driftOf(s), comparedDrift = driftOf(compared_);
  const auto liveJoined = [&series](std::size_t n) { return series.joined(n); };
  const auto alwaysJoined = [](std::size_t n) { return n > 0; };

  for (std::size_t p = 0; p < panels_.size(); ++p) {
    Panel& panel = panels_[p];
    const std::vector<const ObservableColumn*> cols = columnsOf(kPanels[p].plot);
    const std::size_t live = std::max<std::size_t>(cols.size(), 1);
    panel.curves.resize(live);
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (std::size_t c = 0; c < live; ++c) {
      const ObservableColumn* col = cols.empty() ? nullptr : cols[c];
      panel.curves[c].stretches = stretchesOf(s, liveJoined, col, drift, panel.logarithmic, lo, hi);
    }
    // The run read from a file: dashed, in a paler shade of each colour.
    if (!compared_.empty()) {
      for (std::size_t c = 0; c < live; ++c) {
        const ObservableColumn* col = cols.empty() ? nullptr : cols[c];
        Curve other{panel.curves[c].name + QStringLiteral(" (") + comparedName_ + QStringLiteral(")"),
                    panel.curves[c].colour.lighter(130), true, {}};
        other.colour.setAlpha(200);
        other.stretches = stretchesOf(compared_, alwaysJoined, col, comparedDrift, panel.logarithmic, lo, hi);
        panel.curves.push_back(std::move(other));
      }
    }
    panel.emptyText.clear();
    if (cols.empty() && !s.empty() && s.back().notConserved)
      panel.emptyText = notConservedText(s.back().notConserved);
    panel.ticks.clear();
    if (!(lo <= hi)) {
      panel.y0 = panel.logarithmic ? 0.1 : 0, panel.y1 = 1;
      continue;
    }
    if (panel.logarithmic) {
      int d0 = int(std::floor(std::log10(lo))), d1 = int(std::ceil(std::log10(hi)));
      if (d1 <= d0) d1 = d0 + 1;
      const int every = (d1 - d0 + 5) / 6;  // at most about six labelled decades
      for (int d = d0; d <= d1; ++d)
        if ((d - d0) % every == 0) panel.ticks.push_back(std::pow(10.0, d));
      panel.y0 = std::pow(10.0, d0), panel.y1 = std::pow(10.0, d1);
      continue;
    }
    if (panel.fromZero) lo = std::min(lo, 0.0), hi = std::max(hi, 0.0);
    if (hi == lo) {
      const double pad = lo != 0 ? std::abs(lo) * 0.05 : 1;
      hi += pad;
      if (!panel.fromZero || lo != 0) lo -= pad;
    }
    panel.ticks = roundTicks(lo, hi, 4);
    const double step = panel.ticks.size() > 1 ? panel.ticks[1] - panel.ticks[0] : hi - lo;
    panel.y0 = std::floor(lo / step + 1e-9) * step;
    panel.y1 = std::ceil(hi / step - 1e-9) * step;
    if (panel.y1 <= panel.y0) panel.y1 = panel.y0 + step;
    panel.ticks = roundTicks(panel.y0, panel.y1, 4);
  }
  update();
}

int MonitorPlots::leftMargin() const {
  const QFontMetrics fm(font());
  int widest = fm.horizontalAdvance(QStringLiteral("0.0000"));
  for (const Panel& p : panels_)
    for (double v : p.ticks) widest = std::max(widest, fm.horizontalAdvance(tickText(v)));
  return widest + 10;
}

QRectF MonitorPlots::plotArea(int n) const {
  const QFontMetrics fm(font());
  const int left = leftMargin(), right = 10, bottom = 2 * fm.height() + 6, title = fm.height() + 4;
  const double each = double(height() - bottom) / double(panels_.size());
  const double top = each * n + title;
  return QRectF(left, top, std::max(10, width() - left - right), std::max(4.0, each - title - 6));
}

namespace {

// A line of more points than its plot has pixel columns is drawn through the
// first, lowest, highest and last point of each column, in their order: the
// same picture for a fraction of the antialiased line's cost.
QPolygonF thinToColumns(const QPolygonF& line) {
  if (line.size() < 256) return line;
  QPolygonF out;
  out.reserve(line.size() / 4);
  qsizetype first = 0, low = 0, high = 0;
  const auto flush = [&](qsizetype last) {
    qsizetype keep[4] = {first, low, high, last};
    std::sort(std::begin(keep), std::end(keep));
    for (int k = 0; k < 4; ++k)
      if (k == 0 || keep[k] != keep[k - 1]) out.append(line[keep[k]]);
  };
  for (qsizetype n = 1; n < line.size(); ++n) {
    if (std::floor(line[n].x()) != std::floor(line[first].x())) {
      flush(n - 1);
      first = low = high = n;
      continue;
    }
    if (line[n].y() < line[low].y()) low = n;
    if (line[n].y() > line[high].y()) high = n;
  }
  flush(line.size() - 1);
  return out;
}

}  // namespace

void MonitorPlots::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  const QFontMetrics fm(font());
  const auto xOf = [&](const QRectF& a, double t) { return a.left() + (t - t0_) / (t1_ - t0_) * a.width(); };
  for (std::size_t n = 0; n < panels_.size(); ++n) {
    const Panel& p = panels_[n];
    const QRectF a = plotArea(int(n));
    const auto yOf = [&](double v) {
      const double f = p.logarithmic ? (std::log10(v) - std::log10(p.y0)) / (std::log10(p.y1) - std::log10(p.y0))
                                     : (v - p.y0) / (p.y1 - p.y0);
      return a.bottom() - f * a.height();
    };
    painter.fillRect(a, kPlotBackground);
    // Title and legend on one line above the plot.
    painter.setPen(kText);
    double x = a.left();
    const double baseline = a.top() - 4 - fm.descent();
    painter.drawText(QPointF(x, baseline), p.title);
    x += fm.horizontalAdvance(p.title) + 16;
    if (p.curves.size() > 1) {
      for (const Curve& c : p.curves) {
        painter.setPen(QPen(c.colour, 2, c.dashed ? Qt::DashLine : Qt::SolidLine));
        painter.drawLine(QPointF(x, baseline - fm.ascent() / 3.0), QPointF(x + 16, baseline - fm.ascent() / 3.0));
        painter.setPen(kText);
        painter.drawText(QPointF(x + 20, baseline), c.name);
        x += 20 + fm.horizontalAdvance(c.name) + 12;
      }
    }
    // The grid: the shared time ticks and this plot's values.
    painter.setPen(QPen(kGrid, 1, Qt::DotLine));
    for (double t : timeTicks_) painter.drawLine(QPointF(xOf(a, t), a.top()), QPointF(xOf(a, t), a.bottom()));
    for (double v : p.ticks) {
      const double y = yOf(v);
      painter.setPen(QPen(kGrid, 1, Qt::DotLine));
      painter.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
      painter.setPen(kText);
      const QString label = tickText(v);
      painter.drawText(QPointF(a.left() - 5 - fm.horizontalAdvance(label), y + fm.ascent() / 2.0 - 1), label);
    }
    painter.save();
    painter.setClipRect(a.adjusted(-1, -2, 1, 2));
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Curve& c : p.curves) {
      painter.setPen(QPen(c.colour, 1.5, c.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap));
      for (const QPolygonF& stretch : c.stretches) {
        QPolygonF line;
        line.reserve(stretch.size());
        for (const QPointF& pt : stretch) line.append(QPointF(xOf(a, pt.x()), yOf(pt.y())));
        line = thinToColumns(line);
        if (line.size() == 1) {
          painter.setPen(QPen(c.colour, 3, Qt::SolidLine, Qt::RoundCap));
          painter.drawPoint(line.front());
          painter.setPen(QPen(c.colour, 1.5, c.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap));
        } else {
          painter.drawPolyline(line);
        }
      }
    }
    painter.restore();
    if (!p.emptyText.isEmpty()) {
      painter.setPen(kNote);
      painter.drawText(a, Qt::AlignCenter | Qt::TextWordWrap, p.emptyText);
    }
  }
  // The time axis under the last plot.
  const QRectF last = plotArea(int(panels_.size()) - 1);
  painter.setPen(kText);
  for (double t : timeTicks_) {
    const QString label = tickText(t);
    painter.drawText(QPointF(xOf(last, t) - fm.horizontalAdvance(label) / 2.0, last.bottom() + fm.ascent() + 3),
                     label);
  }
  const QString caption = tr("time");
  painter.drawText(QPointF(last.right() - fm.horizontalAdvance(caption), last.bottom() + fm.height() + fm.ascent() + 3),
                   caption);
}
