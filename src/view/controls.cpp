#include "view/controls.h"

#include <cstdint>

#include "state/fp_guard.h"
#include "view/transform.h"

namespace zentrova::controls {

const Real kTrackAngleSteps[kTrackBarPositions] = {0.0005L, 0.001L, 0.002L, 0.003L, 0.005L, 0.01L,
                                                   0.05L,   0.1L,   0.5L,   1.0L,   2.0L};
const Real kTrackZoomSteps[kTrackBarPositions] = {0.5L,  1.0L,  2.0L,  3.0L,  5.0L, 7.0L,
                                                  10.0L, 15.0L, 20.0L, 30.0L, 50.0L};

namespace {

void clearAngles(ViewState& v) {
  v.Psi = 0;
  v.Phi = 0;
  v.Theta = 0;
}

// Runs the drawing, then the clearing, which also runs when the drawing fails.
template <class Draw, class Clear>
void drawThenClear(Draw draw, Clear clear) {
  try {
    draw();
  } catch (...) {
    clear();
    throw;
  }
  clear();
}

// One rotation button: change the angle, draw (adding it into its previous
// angle first in set mode), then clear that angle.
void rotateButton(const Scene& scene, Real ViewState::*angle, Real ViewState::*prev, bool increase) {
  ViewState& v = scene.view;
  clearFpFaults();
  if (increase)
    v.*angle += v.AngleStep;
  else
    v.*angle -= v.AngleStep;
  checkFpFaults();
  drawThenClear(
      [&] {
        if (scene.set.FigureMode) {
          DrawFigure(scene);
        } else {
          clearFpFaults();
          v.*prev += v.*angle;
          checkFpFaults();
          DrawTaons(scene);
        }
      },
      [&] { v.*angle = 0; });
}

}  // namespace

void FormMouseDown(ViewState& v, MouseButton button, int x, int y) {
  if (button == MouseButton::Right) {
    v.RightDownX = x;
    v.RightDownY = y;
  } else {
    v.LeftDownX = x;
    v.LeftDownY = y;
  }
}

void FormMouseUp(const Scene& scene, MouseButton button, int x, int y, bool showSpinChecked) {
  ViewState& v = scene.view;
  const bool right = button == MouseButton::Right;
  clearFpFaults();
  if (right) {
    const Real dx = static_cast<std::int64_t>(x) - v.RightDownX;
    const Real dy = static_cast<std::int64_t>(y) - v.RightDownY;
    if (dx != 0) v.Psi -= dx * v.AngleStep;
    if (dy != 0) v.Distance -= dy * v.ZoomStep;
  } else {
    const Real dx = static_cast<std::int64_t>(x) - v.LeftDownX;
    const Real dy = static_cast<std::int64_t>(y) - v.LeftDownY;
    if (dx != 0) v.Phi -= dx * v.AngleStep;
    if (dy != 0) v.Theta += dy * v.AngleStep;
  }
  checkFpFaults();

  const auto finish = [&] {
    if (!scene.set.FigureMode || !showSpinChecked) clearAngles(v);
  };
  drawThenClear(
      [&] {
        if (scene.set.FigureMode) {
          DrawFigure(scene);
          return;
        }
        clearFpFaults();
        if (right) {
          v.PrevPsi += v.Psi;
        } else {
          v.PrevPhi += v.Phi;
          v.PrevTheta += v.Theta;
        }
        checkFpFaults();
        DrawTaons(scene);
      },
      finish);
}

void DaoTetaClick(const Scene& s) { rotateButton(s, &ViewState::Theta, &ViewState::PrevTheta, false); }
void DaoTeta1Click(const Scene& s) { rotateButton(s, &ViewState::Theta, &ViewState::PrevTheta, true); }
void DaoPsiClick(const Scene& s) { rotateButton(s, &ViewState::Psi, &ViewState::PrevPsi, false); }
void DaoPsi1Click(const Scene& s) { rotateButton(s, &ViewState::Psi, &ViewState::PrevPsi, true); }
void DaoPhiClick(const Scene& s) { rotateButton(s, &ViewState::Phi, &ViewState::PrevPhi, true); }
void DaoPhi1Click(const Scene& s) { rotateButton(s, &ViewState::Phi, &ViewState::PrevPhi, false); }

void DaoStopClick(const Scene& scene) {
  clearAngles(scene.view);
  RedrawView(scene);
}

void DaoBackClick(const Scene& scene) {
  ViewState& v = scene.view;
  clearFpFaults();
  if (v.Distance >= 9 * v.ZoomStep)
    v.Distance -= 3 * v.ZoomStep;
  else
    v.Distance = v.Distance / v.ZoomStep;
  checkFpFaults();
  RedrawView(scene);
}

void DaoForvardClick(const Scene& scene) {
  ViewState& v = scene.view;
  clearFpFaults();
  v.Distance += 3 * v.ZoomStep;
  checkFpFaults();
  RedrawView(scene);
}

void TrackBarChange(ViewState& v, int position) {
  if (position < 0 || position >= kTrackBarPositions) return;
  v.AngleStep = kTrackAngleSteps[position];
  v.ZoomStep = kTrackZoomSteps[position];
}

void TimerTimer(const Scene& scene) {
  if (scene.view.SpinOn) RedrawView(scene);
}

void ShowSpinClick(ViewState& v, bool nowChecked) { v.SpinOn = nowChecked; }

void ShowNumbersOfPointsClick(const Scene& scene, bool nowChecked) {
  scene.view.ShowNumbers = nowChecked;
  RedrawView(scene);
}

void MoveToCenterClick(const Scene& scene) {
  scene.view.Distance = kStartDistance;
  scene.view.ShiftX = 0;
  scene.view.ShiftY = 0;
  RedrawView(scene);
}

namespace {
void pan(const Scene& scene, Real ViewState::*shift, bool increase) {
  ViewState& v = scene.view;
  clearFpFaults();
  if (increase)
    v.*shift += v.PanStep;
  else
    v.*shift -= v.PanStep;
  checkFpFaults();
  RedrawView(scene);
}
}  // namespace

void Left1Click(const Scene& s) { pan(s, &ViewState::ShiftX, false); }
void Right1Click(const Scene& s) { pan(s, &ViewState::ShiftX, true); }
void Up1Click(const Scene& s) { pan(s, &ViewState::ShiftY, false); }
void Down1Click(const Scene& s) { pan(s, &ViewState::ShiftY, true); }

ResizeLayout resizeLayout(int panel1Left, int pageControlHeight) {
  const int w = panel1Left - 5;
  ResizeLayout l{};
  l.fNameWidth = w + 3;
  l.commentHeight = pageControlHeight - 29;
  l.commentWidth = w + 3;
  l.pageControlWidth = w;
  l.daonsTableWidth = w - 2;
  l.defaultColWidth = (w - 30) / 6;  // C++ division truncates toward zero
  return l;
}

}  // namespace zentrova::controls
