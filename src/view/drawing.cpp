#include "view/drawing.h"

#include <algorithm>
#include <string>

#include "figures/figures.h"
#include "view/trails.h"
#include "view/transform.h"

namespace zentrova {

// Rows of the joining table: each new point, white line first, then the red
// ones in the order listed. The spine 1-2-10-16 is white.
const FigureLine kFigureLines[kFigureLineCount] = {
    {2, 1, true},
    {3, 2, false},   {3, 1, false},
    {4, 1, false},   {4, 2, false},   {4, 3, false},
    {5, 1, false},   {5, 2, false},   {5, 3, false},
    {6, 1, false},   {6, 2, false},   {6, 5, false},
    {7, 1, false},   {7, 2, false},   {7, 6, false},
    {8, 2, false},   {8, 6, false},   {8, 7, false},
    {9, 2, false},   {9, 6, false},   {9, 8, false},
    {10, 2, true},   {10, 8, false},  {10, 9, false},
    {11, 2, false},  {11, 8, false},  {11, 10, false},
    {12, 2, false},  {12, 10, false}, {12, 11, false},
    {13, 2, false},  {13, 10, false}, {13, 12, false},
    {14, 10, false}, {14, 12, false}, {14, 13, false},
    {15, 10, false}, {15, 12, false}, {15, 14, false},
    {16, 10, true},  {16, 14, false}, {16, 15, false},
    {17, 10, false}, {17, 14, false}, {17, 16, false},
    {18, 10, false}, {18, 16, false}, {18, 17, false},
    {19, 10, false}, {19, 16, false}, {19, 18, false},
};

void ClearView(Canvas& canvas) {
  canvas.setPenColor(kBlack);
  canvas.setBrushColor(kBlack);
  canvas.fillRect(0, 0, canvas.width(), canvas.height());
}

Rgb taonColor(int i, int count, bool taoscope) {
  if (taoscope) return (i % 2 != 0) ? kRed : kLime;
  switch (groupOf(i, count)) {
    case Group::PE:
      return kYellow;
    case Group::PES1:
      return kFuchsia;
    case Group::PES2:
      break;
  }
  return kAqua;
}

void DrawTaons(const Scene& scene) {
  ViewState& v = scene.view;
  const DrawingSnapshot& s = scene.set;
  Canvas& c = scene.canvas;
  const int count = std::clamp(s.Count, 0, kMaxParticles);

  BuildPrevMatrix(v);
  for (int i = 1; i <= count; ++i) {
    if (s.present(i)) ProjectPoint(v, i - 1, s.DrawX[i - 1], s.DrawY[i - 1], s.DrawZ[i - 1]);
  }
  ClearView(c);
  if (scene.trails) DrawTrails(scene, *scene.trails);
  const int size = std::clamp(scene.pointSize, 1, 16);
  const int off = dotOffset(size);
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    const int x = v.ScreenX[i - 1] - off, y = v.ScreenY[i - 1] - off;
    const Rgb col = taonColor(i, s.Count, scene.taoscope, scene.palette);
    for (int dy = 0; dy < size; ++dy)
      for (int dx = 0; dx < size; ++dx) c.setPixel(x + dx, y + dy, col);
  }
  if (!v.ShowNumbers) return;
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) continue;
    c.setFontColor(taonColor(i, s.Count, scene.taoscope, scene.palette));
    c.text(v.ScreenX[i - 1] - off + size, v.ScreenY[i - 1] - off + size, std::to_string(i));
  }
}

int dotOffset(int pointSize) { return pointSize <= 2 ? 0 : (pointSize - 1) / 2; }

void DrawFigure(const Scene& scene) {
  ViewState& v = scene.view;
  Canvas& c = scene.canvas;

  BuildMatrix(v);
  ClearView(c);
  RotateAndProject(v, scene.set, kSpiralPoints);
  for (const FigureLine& l : kFigureLines) {
    c.setPenColor(l.white ? kWhite : kRed);
    c.line(v.ScreenX[l.from - 1], v.ScreenY[l.from - 1], v.ScreenX[l.to - 1], v.ScreenY[l.to - 1]);
  }
  if (!v.ShowNumbers) return;
  c.setFontColor(kLime);
  for (int k = 1; k <= kSpiralPoints; ++k) {
    c.text(v.ScreenX[k - 1], v.ScreenY[k - 1], std::to_string(k));
  }
}

void RedrawView(const Scene& scene) {
  if (scene.set.FigureMode)
    DrawFigure(scene);
  else
    DrawTaons(scene);
}

}  // namespace zentrova

namespace zentrova {

void PaintView(const Scene& scene, ParticleSet& set, int width, int panTop) {
  UpdateCenter(scene.view, width, panTop);
  if (scene.set.FigureMode) {
    DrawFigure(scene);
  } else {
    set.SetFileName = set.StartName;
    DrawTaons(scene);
  }
}

}  // namespace zentrova
