#include "view_area.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

TViewArea::TViewArea(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  ensureImageSize(1, 1);
}

void TViewArea::ensureImageSize(int w, int h) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  if (image_.width() >= w && image_.height() >= h) return;
  QImage bigger(std::max(w, image_.width()), std::max(h, image_.height()), QImage::Format_RGB32);
  bigger.fill(Qt::black);
  if (!image_.isNull()) {
    QPainter p(&bigger);
    p.drawImage(0, 0, image_);
  }
  image_ = bigger;
}

void TViewArea::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  p.drawImage(event->rect().topLeft(), image_, event->rect());
}

void TViewArea::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) leftDownAt_ = pos;
  emit pressed(event->button(), pos.x(), pos.y());
}

void TViewArea::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  emit released(event->button(), pos.x(), pos.y());
  if (event->button() == Qt::LeftButton && pos == leftDownAt_) emit clicked(pos.x(), pos.y(), event->modifiers());
  if (event->button() == Qt::LeftButton) leftDownAt_ = QPoint(-1, -1);
}

void TViewArea::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) return;
  const QPoint pos = event->position().toPoint();
  emit dragged(pos.x(), pos.y());
}

void TViewArea::wheelEvent(QWheelEvent* event) {
  emit wheeled(event->angleDelta().y());
  event->accept();
}
