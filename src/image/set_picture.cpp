#include "set_picture.h"

#include <QBuffer>
#include <QFont>
#include <cerrno>

#include "files/io_error.h"
#include "image_canvas.h"
#include "view/fit.h"
#include "view/trails.h"
#include "view/transform.h"

namespace zentrova {

QImage drawSetPicture(const DrawingSnapshot& shown, const PictureOptions& options, const Trails* trails) {
  DrawingSnapshot set = shown;
  ViewState view;
  initView(view, options.width, options.height);
  initViewSteps(view);
  view.ShowNumbers = options.numbers;
  QImage image(options.width, options.height, QImage::Format_RGB32);
  image.fill(Qt::black);
  // The window's face for the numbers.
  QImageCanvas canvas(image, options.width, options.height, QFont(QStringLiteral("DejaVu Sans"), 8));
  const Scene scene{canvas, view, set, options.taoscope, trails};
  FitToView(scene, 0, trails);
  return image;
}

QByteArray pngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throwIo(EIO);
  return bytes;
}

}  // namespace zentrova
