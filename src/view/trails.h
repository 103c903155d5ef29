#pragma once
#include <array>
#include <vector>

#include "state/particle_set.h"
#include "view/drawing.h"

namespace zentrova {

// The last positions of every particle, kept in model coordinates so that a
// trail turns and zooms with the view.
class Trails {
 public:
  static constexpr int kLength = 500;
  struct Point {
    Real x, y, z;
  };

  Trails();
  // Appends the drawing position of every present particle, dropping the
  // oldest beyond kLength.
  void record(const DrawingSnapshot& shown);
  void clear();
  bool empty() const;
  // Positions kept for particle i (1-based); k = 0 is the oldest.
  int length(int i) const { return count_[i - 1]; }
  Point at(int i, int k) const;

 private:
  std::vector<Point> points_;  // kLength slots per particle, a ring each
  std::array<int, kMaxParticles> head_{}, count_{};
};

// The trail colour: the particle's colour at half strength.
Rgb trailColor(Rgb dot);

// Draws each trail as a line through its positions, projected through the
// view's current matrix. A position that cannot be projected (too far out)
// breaks its line instead of stopping the drawing; the floating-point flags
// are left as they were.
void DrawTrails(const Scene& scene, const Trails& trails);

}  // namespace zentrova
