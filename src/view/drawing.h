#pragma once
#include "state/particle_set.h"
#include "view/canvas.h"
#include "view/marks.h"
#include "view/view_state.h"

namespace zentrova {

class Trails;

// What a redraw needs. taoscope is the check state of the Taoscope radio
// button; false means Gravoscope. Trails, when given, are drawn under the
// dots; pointSize is the side of a dot in pixels.
struct Scene {
  Canvas& canvas;
  ViewState& view;
  DrawingSnapshot& set;  // the drawing's own copy; the set itself is never written
  bool taoscope = false;
  const Trails* trails = nullptr;
  int pointSize = kDefaultPointSize;
  static constexpr int kDefaultPointSize = 2;
  Palette palette = Palette::Classic;
};

struct FigureLine {
  int from, to;
  bool white;
};
// The 51 wire-frame lines in drawing order.
inline constexpr int kFigureLineCount = 51;
extern const FigureLine kFigureLines[kFigureLineCount];

// Fills (0, 0)-(width, height) black with a black pen and brush; the brush
// stays black for the texts that follow.
void ClearView(Canvas& canvas);

// Set mode: projects every present particle through the accumulated
// orientation, then clears and draws the trails and the dots (2×2 by default,
// from the projected pixel) and, with ShowNumbers, the numbers just below
// and right of each dot (offset by 2 for 2×2 dots). A failing projection leaves the picture untouched.
void DrawTaons(const Scene& scene);

// Figure mode: builds the matrix from the current angles, clears, turns the
// 19 points in place and draws the wire frame, with ShowNumbers the labels
// at the points themselves.
void DrawFigure(const Scene& scene);

// DrawFigure in figure mode, DrawTaons otherwise.
void RedrawView(const Scene& scene);

// Where the dot of a particle projected at (x, y) starts: larger dots are
// centred on the point, the default one starts at it.
int dotOffset(int pointSize);

// The colour of particle i's dot and number.
Rgb taonColor(int i, int count, bool taoscope);

}  // namespace zentrova

namespace zentrova {

// The paint handler's drawing: recentres, then draws the figure, or in set
// mode makes the set's SetFileName the start-up file's name and draws the
// particles. The window refills the listing afterwards in set mode.
void PaintView(const Scene& scene, ParticleSet& set, int width, int panTop);

}  // namespace zentrova
