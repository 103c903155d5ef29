#include "force_chart.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "dynamics/force_law.h"
#include "state/fp_guard.h"

using zentrova::Real;

namespace {

constexpr int kGravoscope = -1;

// A value is drawn only when its evaluation raised no fault and it is finite.
std::optional<Real> clean(Real v, bool faulted) {
  if (faulted || !std::isfinite(v)) return std::nullopt;
  return v;
}

struct ChartSetup {
  Real a1, b1, a2, b2, dMax;
  const char* caption;
};

const QColor kColorE(255, 0, 0);
const QColor kColorPe(0, 0, 255);
const QColor kColorDiff(0, 128, 0);

void drawChart(QPainter& p, const QRect& area, const ChartSetup& setup) {
  const int samples = std::max(2, area.width() * 2);
  const ForceCurves c = sampleForceCurves(setup.a1, setup.b1, setup.a2, setup.b2, setup.dMax, samples);

  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  const QFontMetrics fm(font);
  const int line = fm.height();

  // Caption and legend above the plot.
  p.setPen(Qt::black);
  p.drawText(area.left() + 2, area.top() + fm.ascent() + 1, QString::fromLatin1(setup.caption));
  int x = area.left() + 2;
  const int legendBase = area.top() + line + fm.ascent() + 1;
  for (const auto& [name, color] : {std::pair{"E", kColorE}, {"PE", kColorPe}, {"E - PE", kColorDiff}}) {
    p.setPen(QPen(color, 2));
    p.drawLine(x, legendBase - fm.ascent() / 2, x + 10, legendBase - fm.ascent() / 2);
    p.setPen(Qt::black);
    p.drawText(x + 13, legendBase, QString::fromLatin1(name));
    x += 13 + fm.horizontalAdvance(QString::fromLatin1(name)) + 10;
  }

  const QRect plot(area.left() + 26, area.top() + 2 * line + 6, area.width() - 32, area.height() - 3 * line - 10);

  Real lo = 0, hi = 0;
  for (const auto* curve : {&c.e, &c.pe, &c.diff})
    for (const auto& v : *curve)
      if (v) lo = std::min(lo, *v), hi = std::max(hi, *v);
  if (hi - lo <= 0) hi = lo + 1;
  const Real pad = (hi - lo) * 0.05L;
  lo -= pad, hi += pad;
  const auto px = [&](Real d) { return plot.left() + double(d / setup.dMax) * plot.width(); };
  const auto py = [&](Real v) { return plot.bottom() - double((v - lo) / (hi - lo)) * plot.height(); };

  // Frame, zero line and distance ticks.
  p.setPen(Qt::black);
  p.drawRect(plot);
  p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
  p.drawLine(QPointF(plot.left(), py(0)), QPointF(plot.right(), py(0)));
  p.setPen(Qt::black);
  const int step = setup.dMax > 20 ? 5 : 2;
  for (int d = 0; d <= int(setup.dMax); d += step) {
    const double tx = px(d);
    p.drawLine(QPointF(tx, plot.bottom()), QPointF(tx, plot.bottom() + 3));
    const QString label = QString::number(d);
    p.drawText(QPointF(tx - fm.horizontalAdvance(label) / 2.0, plot.bottom() + 3 + fm.ascent()), label);
  }
  p.drawText(QPointF(plot.left() - 24, py(0) + fm.ascent() / 2.0), QStringLiteral("0"));
  p.drawText(QPointF(plot.right() - fm.horizontalAdvance(QStringLiteral("d")), plot.top() - 2), QStringLiteral("d"));

  p.save();
  p.setClipRect(plot.adjusted(1, 1, 0, 0));
  for (const auto& [curve, color] : {std::pair{&c.e, kColorE}, {&c.pe, kColorPe}, {&c.diff, kColorDiff}}) {
    QPainterPath path;
    bool open = false;
    for (std::size_t i = 0; i < c.distance.size(); ++i) {
      const auto& v = (*curve)[i];
      if (!v) {
        open = false;  // a faulted point breaks the curve
        continue;
      }
      const QPointF pt(px(c.distance[i]), py(*v));
      if (open) path.lineTo(pt);
      else path.moveTo(pt);
      open = true;
    }
    p.setPen(QPen(color, 1));
    p.drawPath(path);
  }
  p.restore();
}

}  // namespace

ForceCurves sampleForceCurves(Real a1, Real b1, Real a2, Real b2, Real dMax, int points) {
  ForceCurves c;
  for (int k = 0; k < points; ++k) {
    const Real d = points > 1 ? dMax * k / (points - 1) : dMax;
    zentrova::clearFpFaults();
    const Real e = a2 * (zentrova::coreTerm(d, kGravoscope) + zentrova::shellTerm(b2, d));
    const bool eFault = std::fetestexcept(zentrova::kFaultFlags) != 0;
    zentrova::clearFpFaults();
    const Real pe = zentrova::peLaw(d, a1, b1);
    const bool peFault = std::fetestexcept(zentrova::kFaultFlags) != 0;
    zentrova::clearFpFaults();
    const Real diff = e - pe;
    const bool diffFault = eFault || peFault || std::fetestexcept(zentrova::kFaultFlags) != 0;
    c.distance.push_back(d);
    c.e.push_back(clean(e, eFault));
    c.pe.push_back(clean(pe, peFault));
    c.diff.push_back(clean(diff, diffFault));
  }
  zentrova::clearFpFaults();  // nothing of the sampling leaks to later checks
  return c;
}

QImage drawForceCharts(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  // The picture's left 8 pixels lie outside the dialog.
  const QRect all = image.rect().adjusted(8, 0, 0, 0);
  const int half = all.height() / 2;
  const ChartSetup upper{1, 2.718L, 1, 2.718L, 14, "B1 = B2 = 2.718, A1 = A2 = 1"};
  const ChartSetup lower{10.3L, 2.718L, 1, 2.718L, 30, "B1 = B2 = 2.718, A1 = 10.3, A2 = 1"};
  drawChart(p, QRect(all.left(), all.top(), all.width(), half), upper);
  drawChart(p, QRect(all.left(), all.top() + half, all.width(), all.height() - half), lower);
  return image;
}
