#pragma once
#include <QColor>
#include <QFont>
#include <QImage>

#include "view/canvas.h"

// The view's canvas on a QImage, shared by the window and the simulator's
// pictures. The surface clips to the image; the view
// area's extent (window width, bottom panel's top) is given separately.
class QImageCanvas : public zentrova::Canvas {
 public:
  QImageCanvas(QImage& image, int width, int height, const QFont& font);
  void setPenColor(zentrova::Rgb c) override { pen_ = c; }
  void setBrushColor(zentrova::Rgb c) override { brush_ = c; }
  void setFontColor(zentrova::Rgb c) override { font_color_ = c; }
  void fillRect(int left, int top, int right, int bottom) override;
  void setPixel(int x, int y, zentrova::Rgb c) override;
  void line(int x1, int y1, int x2, int y2) override;
  void polyline(const std::vector<zentrova::Pixel>& points) override;
  void text(int x, int y, const std::string& s) override;
  int width() const override { return width_; }
  int height() const override { return height_; }

 private:
  QImage& image_;
  int width_, height_;
  QFont font_;
  zentrova::Rgb pen_, brush_, font_color_;
};
