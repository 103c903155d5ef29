#include "view/transform.h"

#include <cfenv>
#include <cmath>

#include "state/fp_guard.h"

namespace zentrova {

namespace {

// x87 fsin/fcos leave operands of magnitude 2^63 and beyond unreduced; the
// program treats their results as 0. libm reduces any finite argument
// correctly, so the range is enforced here. Infinity and NaN go to libm,
// which raises invalid for infinity and passes a quiet NaN through.
constexpr Real kTrigLimit = 9223372036854775808.0L;  // 2^63

Real sinInRange(Real a) {
  if (std::isfinite(a) && std::fabs(a) >= kTrigLimit) return 0;
  return std::sin(a);
}

Real cosInRange(Real a) {
  if (std::isfinite(a) && std::fabs(a) >= kTrigLimit) return 0;
  return std::cos(a);
}

// Each operation is checked at once so that the first fault is the one
// reported, as a trapping processor would. The operands and the result pass
// through volatile storage: the compiler knows nothing of the flags and may
// otherwise move the arithmetic past the test (clang does).
Real checked(Real r) {
  volatile Real v = r;
  checkFpFaults();
  return v;
}

Real mul(Real a, Real b) {
  volatile Real va = a, vb = b;
  return checked(va * vb);
}

Real add(Real a, Real b) {
  volatile Real va = a, vb = b;
  return checked(va + vb);
}

void buildFrom(ViewState& v, Real theta, Real psi, Real phi) {
  clearFpFaults();
  const Real st = sinInRange(theta), ct = cosInRange(theta);
  const Real sp = sinInRange(psi), cp = cosInRange(psi);
  const Real sf = sinInRange(phi), cf = cosInRange(phi);
  checkFpFaults();
  // Products left to right; each sum adds the second product to the first.
  const Real m11 = mul(cp, cf);
  const Real m12 = mul(-cp, sf);
  const Real m13 = sp;
  const Real m21 = add(mul(mul(st, sp), cf), mul(ct, sf));
  const Real m22 = add(mul(mul(-st, sp), sf), mul(ct, cf));
  const Real m23 = mul(-st, cp);
  const Real m31 = add(mul(mul(-ct, sp), cf), mul(st, sf));
  const Real m32 = add(mul(mul(ct, sp), sf), mul(st, cf));
  const Real m33 = mul(ct, cp);
  v.M11 = m11;
  v.M12 = m12;
  v.M13 = m13;
  v.M21 = m21;
  v.M22 = m22;
  v.M23 = m23;
  v.M31 = m31;
  v.M32 = m32;
  v.M33 = m33;
}

Real row(Real a, Real b, Real c, Real x, Real y, Real z) {
  return add(add(mul(a, x), mul(b, y)), mul(c, z));
}

// Screen coordinate from an already rotated component.
Real screenCoord(std::int32_t center, Real rotated, Real distance, Real shift) {
  const Real scaled = mul(rotated, distance) / 2;
  checkFpFaults();
  return add(add(static_cast<Real>(center), scaled), shift);
}

void projectRotated(ViewState& v, int index, Real xr, Real zr) {
  const std::int32_t sx = roundToScreen(screenCoord(v.CenterX, xr, v.Distance, v.ShiftX));
  const std::int32_t sy = roundToScreen(screenCoord(v.CenterY, zr, v.Distance, v.ShiftY));
  v.ScreenX[index] = sx;
  v.ScreenY[index] = sy;
}

}  // namespace

std::int32_t roundToScreen(Real value) {
  constexpr Real kLimit = 9223372036854775808.0L;  // 2^63
  if (std::isnan(value)) throw FpError(kMsgInvalid);
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const Real r = std::nearbyint(value);
  std::fesetround(saved);
  if (!(r >= -kLimit && r < kLimit)) throw FpError(kMsgInvalid);
  const auto wide = static_cast<std::int64_t>(r);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

void BuildMatrix(ViewState& v) { buildFrom(v, v.Theta, v.Psi, v.Phi); }

void BuildPrevMatrix(ViewState& v) { buildFrom(v, v.PrevTheta, v.PrevPsi, v.PrevPhi); }

void ProjectPoint(ViewState& v, int index, Real x, Real y, Real z) {
  clearFpFaults();
  const Real xr = row(v.M11, v.M12, v.M13, x, y, z);
  const Real zr = row(v.M31, v.M32, v.M33, x, y, z);
  projectRotated(v, index, xr, zr);
}

void RotateAndProject(ViewState& v, DrawingSnapshot& set, int n) {
  if (n > kMaxParticles) n = kMaxParticles;
  for (int i = 0; i < n; ++i) {
    clearFpFaults();
    const Real x = set.DrawX[i], y = set.DrawY[i], z = set.DrawZ[i];
    const Real xr = row(v.M11, v.M12, v.M13, x, y, z);
    const Real yr = row(v.M21, v.M22, v.M23, x, y, z);
    const Real zr = row(v.M31, v.M32, v.M33, x, y, z);
    set.DrawX[i] = xr;
    set.DrawY[i] = yr;
    set.DrawZ[i] = zr;
    projectRotated(v, i, xr, zr);
  }
}

void UpdateCenter(ViewState& v, int width, int panTop) {
  v.CenterX = roundToScreen(width / 2.0L);
  v.CenterY = roundToScreen(panTop / 2.0L);
}

void initView(ViewState& v, int width, int panTop) {
  UpdateCenter(v, width, panTop);
  v.Distance = kStartDistance;
  v.Theta = 0;
  v.Psi = 0;
  v.Phi = 0;
  BuildMatrix(v);
}

void initViewSteps(ViewState& v) {
  v.PanStep = 5.0L;
  v.ZoomStep = 3.0L;
  v.AngleStep = 0.01L;
}

}  // namespace zentrova
