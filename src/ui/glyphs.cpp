#include "glyphs.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon strokes(const QColor& colour, const QList<QLineF>& lines) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLines(lines);
  return QIcon(pm);
}

}  // namespace

QIcon checkGlyph() {
  static const QIcon icon = strokes(QColor(0, 128, 0), {QLineF(2, 8, 6, 13), QLineF(6, 13, 14, 3)});
  return icon;
}

QIcon crossGlyph() {
  static const QIcon icon = strokes(QColor(200, 0, 0), {QLineF(3, 3, 13, 13), QLineF(13, 3, 3, 13)});
  return icon;
}
