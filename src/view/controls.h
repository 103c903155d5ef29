#pragma once
#include "view/drawing.h"

// The view controls without a window: each function makes the state change of
// one control and redraws, so the window's handlers only forward to them.
// Drawing failures propagate as FpError. Where a control clears current
// angles after drawing, it clears them even when the drawing fails, so that
// a failed step is never added into the orientation a second time.
namespace zentrova::controls {

enum class MouseButton { Left, Middle, Right };

// Presses and releases on the view area itself only. The middle button acts
// as the left one.
void FormMouseDown(ViewState& v, MouseButton button, int x, int y);
void FormMouseUp(const Scene& scene, MouseButton button, int x, int y, bool showSpinChecked);

void DaoTetaClick(const Scene& scene);   // Theta -= AngleStep
void DaoTeta1Click(const Scene& scene);  // Theta += AngleStep
void DaoPsiClick(const Scene& scene);    // Psi -= AngleStep
void DaoPsi1Click(const Scene& scene);   // Psi += AngleStep
void DaoPhiClick(const Scene& scene);    // Phi += AngleStep
void DaoPhi1Click(const Scene& scene);   // Phi -= AngleStep
void DaoStopClick(const Scene& scene);
void DaoBackClick(const Scene& scene);
void DaoForvardClick(const Scene& scene);

// Sets AngleStep and ZoomStep from the position (0..10); other positions are
// ignored. Draws nothing.
void TrackBarChange(ViewState& v, int position);
inline constexpr int kTrackBarPositions = 11;
extern const Real kTrackAngleSteps[kTrackBarPositions];
extern const Real kTrackZoomSteps[kTrackBarPositions];

// Redraws when SpinOn is set.
void TimerTimer(const Scene& scene);

// Take the menu item's check state after it was toggled.
void ShowSpinClick(ViewState& v, bool nowChecked);
void ShowNumbersOfPointsClick(const Scene& scene, bool nowChecked);

void MoveToCenterClick(const Scene& scene);
void Left1Click(const Scene& scene);
void Right1Click(const Scene& scene);
void Up1Click(const Scene& scene);
void Down1Click(const Scene& scene);

// Widths and heights the resize handler gives the bottom panel's controls.
struct ResizeLayout {
  int fNameWidth;
  int commentHeight;
  int commentWidth;
  int pageControlWidth;
  int daonsTableWidth;
  int defaultColWidth;
  friend bool operator==(const ResizeLayout&, const ResizeLayout&) = default;
};
ResizeLayout resizeLayout(int panel1Left, int pageControlHeight);
// The window's resize handler: UpdateCenter, apply resizeLayout, RedrawView.

}  // namespace zentrova::controls
