#include "force_chart.h"

#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "dynamics/force_law.h"
#include "state/fp_guard.h"

using zentrova::Real;

namespace {

// A value is drawn only when its evaluation raised no fault and it is finite.
std::optional<Real> clean(Real v, bool faulted) {
  if (faulted || !std::isfinite(v)) return std::nullopt;
  return v;
}


const QColor kColorE(255, 0, 0);
const QColor kColorPe(0, 0, 255);
const QColor kColorDiff(0, 128, 0);

void drawChart(QPainter& p, const QRect& area, const ChartLaws& laws, Real dMax) {
  const int samples = std::max(2, area.width() * 2);
  const ForceCurves c = sampleForceCurves(laws, dMax, samples);

  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  const QFontMetrics fm(font);
  const int line = fm.height();

  // Caption and legend above the plot.
  p.setPen(Qt::black);
  const QStringList caption = chartCaption(laws);
  for (int k = 0; k < caption.size(); ++k)
    p.drawText(area.left() + 2, area.top() + k * line + fm.ascent() + 1, caption[k]);
  const int head = int(caption.size()) + 1;
  int x = area.left() + 2;
  const int legendBase = area.top() + (head - 1) * line + fm.ascent() + 1;
  for (const auto& [name, color] : {std::pair{"E", kColorE}, {"PE", kColorPe}, {"E - PE", kColorDiff}}) {
    p.setPen(QPen(color, 2));
    p.drawLine(x, legendBase - fm.ascent() / 2, x + 10, legendBase - fm.ascent() / 2);
    p.setPen(Qt::black);
    p.drawText(x + 13, legendBase, QString::fromLatin1(name));
    x += 13 + fm.horizontalAdvance(QString::fromLatin1(name)) + 10;
  }

  const QRect plot(area.left() + 26, area.top() + head * line + 6, area.width() - 32,
                   area.height() - (head + 1) * line - 10);

  Real lo = 0, hi = 0;
  for (const auto* curve : {&c.e, &c.pe, &c.diff})
    for (const auto& v : *curve)
      if (v) lo = std::min(lo, *v), hi = std::max(hi, *v);
  if (hi - lo <= 0) hi = lo + 1;
  const Real pad = (hi - lo) * 0.05L;
  lo -= pad, hi += pad;
  const auto px = [&](Real d) { return plot.left() + double(d / dMax) * plot.width(); };
  const auto py = [&](Real v) { return plot.bottom() - double((v - lo) / (hi - lo)) * plot.height(); };

  // Frame, zero line and distance ticks.
  p.setPen(Qt::black);
  p.drawRect(plot);
  p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
  p.drawLine(QPointF(plot.left(), py(0)), QPointF(plot.right(), py(0)));
  p.setPen(Qt::black);
  const int step = dMax > 20 ? 5 : 2;
  for (int d = 0; d <= int(dMax); d += step) {
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

ForceCurves sampleForceCurves(const ChartLaws& laws, Real dMax, int points) {
  ForceCurves c;
  const int S = zentrova::modeSign(laws.taoscope);
  for (int k = 0; k < points; ++k) {
    const Real d = points > 1 ? dMax * k / (points - 1) : dMax;
    zentrova::clearFpFaults();
    // Summed in the order of the force law.
    const Real e = laws.a * (((zentrova::coreTerm(d, S) + zentrova::shellTerm(laws.b, d)) +
                              zentrova::shellTerm(laws.c, d)) +
                             zentrova::shellTerm(laws.d, d));
    const bool eFault = std::fetestexcept(zentrova::kFaultFlags) != 0;
    zentrova::clearFpFaults();
    const Real pe = zentrova::peLaw(d, laws.a1, laws.b1);
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

QStringList chartCaption(const ChartLaws& laws) {
  const auto v = [](Real x) { return QLocale().toString(double(x), 'g', 4); };
  const QString n = QString::number(laws.pesGroup);
  return {QStringLiteral("E: A%1 = %2, B%1 = %3, C%1 = %4, D%1 = %5")
              .arg(n, v(laws.a), v(laws.b), v(laws.c), v(laws.d)),
          QStringLiteral("PE: A1 = %1, B1 = %2").arg(v(laws.a1), v(laws.b1))};
}

QImage drawForceCharts(QSize size, const ChartLaws& laws) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  // The picture's left 8 pixels lie outside the dialog.
  const QRect all = image.rect().adjusted(8, 0, 0, 0);
  const int half = all.height() / 2;
  drawChart(p, QRect(all.left(), all.top(), all.width(), half), laws, 14);
  drawChart(p, QRect(all.left(), all.top() + half, all.width(), all.height() - half), laws, 30);
  return image;
}
