#pragma once
#include <string>
#include <vector>

#include "view/canvas.h"

namespace zentrova::testing {

// Records every drawing call and keeps the pixels that setPixel and fillRect
// leave, clipped to the surface like the real one.
class RecordingCanvas : public Canvas {
 public:
  struct Line {
    int x1, y1, x2, y2;
    Rgb pen;
  };
  struct Text {
    int x, y;
    std::string s;
    Rgb font, brush;
  };

  RecordingCanvas(int w, int h) : w_(w), h_(h), pixels_(static_cast<std::size_t>(w * h), kGreen) {}

  void setPenColor(Rgb c) override { pen_ = c; }
  void setBrushColor(Rgb c) override { brush_ = c; }
  void setFontColor(Rgb c) override { font_ = c; }
  void fillRect(int l, int t, int r, int b) override {
    ++fills;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) put(x, y, brush_);
  }
  void setPixel(int x, int y, Rgb c) override {
    ++pixelWrites;
    put(x, y, c);
  }
  void line(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2, pen_}); }
  void text(int x, int y, const std::string& s) override { texts.push_back({x, y, s, font_, brush_}); }
  int width() const override { return w_; }
  int height() const override { return h_; }

  Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * w_ + x)]; }
  int calls() const { return fills + pixelWrites + static_cast<int>(lines.size() + texts.size()); }

  int fills = 0;
  int pixelWrites = 0;
  std::vector<Line> lines;
  std::vector<Text> texts;

 private:
  void put(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) pixels_[static_cast<std::size_t>(y * w_ + x)] = c;
  }
  int w_, h_;
  std::vector<Rgb> pixels_;
  Rgb pen_ = kGreen, brush_ = kGreen, font_ = kGreen;
};

}  // namespace zentrova::testing
