#pragma once
#include "state/particle_set.h"
#include "view/view_state.h"

namespace zentrova {

// Fills the matrix from Theta, Psi, Phi (M = Rx(Theta)·Ry(Psi)·Rz(Phi)).
// An angle of magnitude 2^63 or more is out of the processor's trigonometric
// range: its sine and cosine count as 0. An infinite angle is
// "Invalid floating point operation".
void BuildMatrix(ViewState& v);
// The same from PrevTheta, PrevPsi, PrevPhi.
void BuildPrevMatrix(ViewState& v);

// Rotates (x, y, z) by the matrix, scales and shifts it, and writes the pixel
// at ScreenX/ScreenY[index] (0-based). Rounds half to even to a 64-bit
// integer and keeps its low 32 bits. Throws FpError: "Floating point
// overflow" for an overflowing product, "Invalid floating point operation"
// for a result that is NaN or outside the 64-bit range; the screen values of
// index are then unchanged.
void ProjectPoint(ViewState& v, int index, Real x, Real y, Real z);

// For indices 0..n-1: rotates the drawing point in place by the matrix, stores
// it, then projects the stored (already rotated) point. On a failure the
// points up to and including the failing one keep their rotated values.
void RotateAndProject(ViewState& v, DrawingSnapshot& shown, int n);

// CenterX = round(width / 2.0), CenterY = round(panTop / 2.0), ties to even.
void UpdateCenter(ViewState& v, int width, int panTop);

// Window creation: the centre, Distance 120, zero angles and the identity
// matrix. The step sizes come later, with initViewSteps.
void initView(ViewState& v, int width, int panTop);
// The zoom initView gives, which Move to Center brings back.
inline constexpr Real kStartDistance = 120.0L;
// PanStep 5, ZoomStep 3, AngleStep 0.01.
void initViewSteps(ViewState& v);

// round-half-even of a screen coordinate as described for ProjectPoint.
std::int32_t roundToScreen(Real value);

}  // namespace zentrova
