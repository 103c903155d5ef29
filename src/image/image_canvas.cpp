#include "image_canvas.h"

#include <QPainter>

namespace {

QColor qcolor(zentrova::Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QImageCanvas::QImageCanvas(QImage& image, int width, int height, const QFont& font)
    : image_(image), width_(width), height_(height), font_(font) {}

void QImageCanvas::fillRect(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  QPainter p(&image_);
  p.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), qcolor(brush_));
  p.setPen(qcolor(pen_));
  p.drawRect(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)));
}

void QImageCanvas::setPixel(int x, int y, zentrova::Rgb c) {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  image_.setPixel(x, y, qRgb(c.r, c.g, c.b));
}

void QImageCanvas::line(int x1, int y1, int x2, int y2) {
  QPainter p(&image_);
  p.setPen(QPen(qcolor(pen_), 0));
  p.drawLine(x1, y1, x2, y2);
}

void QImageCanvas::polyline(const std::vector<zentrova::Pixel>& points) {
  if (points.size() < 2) return;
  QList<QPoint> q;
  q.reserve(qsizetype(points.size()));
  for (const zentrova::Pixel& p : points) q.append(QPoint(p.x, p.y));
  QPainter p(&image_);
  p.setPen(QPen(qcolor(pen_), 0));
  p.drawPolyline(q.constData(), int(q.size()));
}

void QImageCanvas::text(int x, int y, const std::string& s) {
  QPainter p(&image_);
  p.setFont(font_);
  p.setPen(qcolor(font_color_));
  p.setBackgroundMode(Qt::OpaqueMode);
  p.setBackground(qcolor(brush_));
  const QFontMetrics fm(font_);
  p.drawText(x, y + fm.ascent(), QString::fromStdString(s));
}
