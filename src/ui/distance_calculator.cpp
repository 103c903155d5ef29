#include "distance_calculator.h"

#include <cmath>

#include "state/fp_guard.h"
#include "state/number_text.h"

namespace zentrova {

namespace {

struct Point {
  Real x, y, z;
};

Point rowPoint(const std::string& number, const GridText& cell, char sep) {
  const int row = parseInt(number);
  Point p;
  p.x = parseReal(cell(1, row), sep);
  p.y = parseReal(cell(2, row), sep);
  p.z = parseReal(cell(3, row), sep);
  return p;
}

}  // namespace

std::string gridDistance(const std::string& first, const std::string& second, const GridText& cell,
                         char decimalSeparator) {
  const Point a = rowPoint(first, cell, decimalSeparator);
  const Point b = rowPoint(second, cell, decimalSeparator);
  FpGuard guard;
  const Real dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
  const Real d = std::sqrt((dx * dx + dy * dy) + dz * dz);
  guard.check();
  return formatReal(d, decimalSeparator);
}

}  // namespace zentrova
