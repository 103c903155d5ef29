#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zentrova {

struct Pixel {
  int x = 0, y = 0;
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kFuchsia{255, 0, 255};
inline constexpr Rgb kAqua{0, 255, 255};
inline constexpr Rgb kMaroon{128, 0, 0};
inline constexpr Rgb kGreen{0, 128, 0};

// The drawing surface of the view area. Pen, brush and font colours stay as
// the last drawing set them. Coordinates outside the surface are clipped.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void setPenColor(Rgb c) = 0;
  virtual void setBrushColor(Rgb c) = 0;
  virtual void setFontColor(Rgb c) = 0;
  // Filled with the brush, outlined with the pen; right and bottom exclusive.
  virtual void fillRect(int left, int top, int right, int bottom) = 0;
  virtual void setPixel(int x, int y, Rgb c) = 0;
  // A one-pixel line in the pen colour, both end points included.
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // Joined one-pixel lines through the points in the pen colour. A surface
  // that can draw them in one go overrides this.
  virtual void polyline(const std::vector<Pixel>& points) {
    for (std::size_t k = 1; k < points.size(); ++k)
      line(points[k - 1].x, points[k - 1].y, points[k].x, points[k].y);
  }
  // Text in the font colour on the brush colour, top-left corner at (x, y).
  virtual void text(int x, int y, const std::string& s) = 0;
  // The view area's extent: the window's width and the bottom panel's top.
  virtual int width() const = 0;
  virtual int height() const = 0;
};

}  // namespace zentrova
