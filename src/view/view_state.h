#pragma once
#include <array>
#include <cstdint>

#include "state/real.h"

namespace zentrova {

// The viewing state shared by the drawing and the view controls.
struct ViewState {
  // Current angles: a pending rotation step.
  Real Theta = 0, Psi = 0, Phi = 0;
  // Accumulated orientation used in set mode.
  Real PrevTheta = 0, PrevPsi = 0, PrevPhi = 0;
  // The matrix built last, from either angle set.
  Real M11 = 0, M12 = 0, M13 = 0;
  Real M21 = 0, M22 = 0, M23 = 0;
  Real M31 = 0, M32 = 0, M33 = 0;
  // One model unit is drawn as Distance / 2 pixels.
  Real Distance = 0;
  std::int32_t CenterX = 0, CenterY = 0;
  Real ShiftX = 0, ShiftY = 0;
  // Last projected pixel of each point; index 0 is point 1.
  std::array<std::int32_t, kMaxParticles> ScreenX{}, ScreenY{};
  Real AngleStep = 0;
  Real ZoomStep = 0;
  Real PanStep = 0;
  bool SpinOn = false;
  bool ShowNumbers = false;
  std::int32_t LeftDownX = 0, LeftDownY = 0, RightDownX = 0, RightDownY = 0;
};

}  // namespace zentrova
