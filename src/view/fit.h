#pragma once
#include "view/drawing.h"

// Fitting the view to what it shows, and the wheel zoom. Only Distance,
// ShiftX and ShiftY change; the set and the orientation stay as they are.
namespace zentrova {

class Trails;

// The pixels from a side of the view area to the nearest fitted point.
int fitMargin(int width, int height);

// Zooms and pans so that every present particle (set mode) or the whole
// spiral (figure mode), seen in the current orientation, lies inside the
// view area with a margin; topInset pixels at the top are kept free as well
// (for controls lying over the view). With trails given, their positions are
// fitted too. Then redraws. Without anything to fit, only redraws; a single
// point (or all in one place) is centred at the current zoom.
void FitToView(const Scene& scene, int topInset = 0, const Trails* alsoFit = nullptr);

// In set mode, whether the last drawing put a present particle outside the
// view area.
bool particleOffView(const Scene& scene);

// In set mode, whether the last drawing left every present particle (there
// being one) outside the view area.
bool noParticleInView(const Scene& scene);

// The share of the view's smaller side that Keep in View gives the set, so
// that a moving set stays in sight for a while after each refit.
inline constexpr Real kKeepInViewFill = 0.6L;

// Keep in View after a drawing: while every present particle is inside,
// nothing changes. Otherwise the view is fitted with room to spare: the set,
// centred on its centre, spans at most kKeepInViewFill of the smaller side.
// A refit when some particles are still inside may wait (mayWait, the
// caller's pace); when none is left it never waits. Returns whether it
// refitted (and redrew).
bool KeepInView(const Scene& scene, int topInset, bool mayWait);

// The zoom of one wheel notch.
inline constexpr Real kWheelZoomFactor = 1.25L;

// Zooms by kWheelZoomFactor per notch (fractions allowed, negative zooms
// out) about the centre of the view, then redraws. The scale is multiplied,
// so it never passes through zero; a step that would leave the range of
// usable scales is not taken.
void WheelZoom(const Scene& scene, Real notches);

}  // namespace zentrova
