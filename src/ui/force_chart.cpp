#include "force_chart.h"

#include <QPainter>

QImage drawForceCharts(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

ForceCurves sampleForceCurves(zentrova::Real, zentrova::Real, zentrova::Real, zentrova::Real, zentrova::Real, int) {
  return {};
}
