#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "figures/figures.h"
#include "state/errors.h"
#include "view/transform.h"

using namespace zentrova;

namespace {

using Mat = Real[3][3];

void product(const Mat a, const Mat b, Mat out) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      out[i][j] = 0;
      for (int k = 0; k < 3; ++k) out[i][j] += a[i][k] * b[k][j];
    }
}

ViewState defaultView() {
  ViewState v;
  initView(v, 703, 185);
  initViewSteps(v);
  return v;
}

std::string faultOf(ViewState& v, Real x, Real y, Real z) {
  try {
    ProjectPoint(v, 0, x, y, z);
  } catch (const FpError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(Matrix, ZeroAnglesGiveExactIdentity) {
  ViewState v = defaultView();
  const Real m[9] = {v.M11, v.M12, v.M13, v.M21, v.M22, v.M23, v.M31, v.M32, v.M33};
  for (int k = 0; k < 9; ++k) EXPECT_EQ(m[k], (k % 4 == 0) ? 1.0L : 0.0L) << k;
}

TEST(Matrix, IsRxRyRzAndPrevUsesTheOtherAngles) {
  const Real t = 0.3L, p = -1.1L, f = 2.2L;
  const Mat rx = {{1, 0, 0}, {0, std::cos(t), -std::sin(t)}, {0, std::sin(t), std::cos(t)}};
  const Mat ry = {{std::cos(p), 0, std::sin(p)}, {0, 1, 0}, {-std::sin(p), 0, std::cos(p)}};
  const Mat rz = {{std::cos(f), -std::sin(f), 0}, {std::sin(f), std::cos(f), 0}, {0, 0, 1}};
  Mat xy, m;
  product(rx, ry, xy);
  product(xy, rz, m);

  ViewState v;
  v.PrevTheta = t, v.PrevPsi = p, v.PrevPhi = f;
  BuildMatrix(v);  // current angles are 0
  EXPECT_EQ(v.M11, 1.0L);
  BuildPrevMatrix(v);
  const Real got[3][3] = {{v.M11, v.M12, v.M13}, {v.M21, v.M22, v.M23}, {v.M31, v.M32, v.M33}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_LT(std::fabs(got[i][j] - m[i][j]), 1e-18L) << i << j;
}

TEST(Matrix, AnglesOutsideTheTrigRangeCountAsZeroInfinityFails) {
  ViewState v;
  v.Theta = 0x1p64L;  // sine and cosine both 0
  BuildMatrix(v);
  EXPECT_EQ(v.M11, 1.0L);
  EXPECT_EQ(v.M22, 0.0L);
  EXPECT_EQ(v.M33, 0.0L);
  EXPECT_EQ(v.M23, 0.0L);
  v.Theta = 0x1p62L;  // still in range: a genuine sine
  BuildMatrix(v);
  EXPECT_EQ(v.M22, std::cos(0x1p62L));

  v.Theta = std::numeric_limits<Real>::infinity();
  try {
    BuildMatrix(v);
    FAIL() << "no fault";
  } catch (const FpError& e) {
    EXPECT_STREQ(e.what(), kMsgInvalid);
  }
}

TEST(Center, RoundsHalvesToEven) {
  ViewState v;
  UpdateCenter(v, 703, 185);
  EXPECT_EQ(v.CenterX, 352);
  EXPECT_EQ(v.CenterY, 92);
  UpdateCenter(v, 701, 187);
  EXPECT_EQ(v.CenterX, 350);
  EXPECT_EQ(v.CenterY, 94);
}

TEST(Project, ScaleShiftRoundingAndMirroring) {
  ViewState v = defaultView();  // centre (352, 92), Distance 120
  ProjectPoint(v, 3, 1, 5, -0.5L);
  EXPECT_EQ(v.ScreenX[3], 352 + 60);
  EXPECT_EQ(v.ScreenY[3], 92 - 30);

  v.Distance = 1;  // half-pixel results: ties go to the even neighbour
  ProjectPoint(v, 0, 5, 0, 1);  // 354.5, 92.5
  EXPECT_EQ(v.ScreenX[0], 354);
  EXPECT_EQ(v.ScreenY[0], 92);
  ProjectPoint(v, 0, 7, 0, 3);  // 355.5, 93.5
  EXPECT_EQ(v.ScreenX[0], 356);
  EXPECT_EQ(v.ScreenY[0], 94);

  v.Distance = -120;  // mirrored through the centre
  v.ShiftX = 10, v.ShiftY = -4;
  ProjectPoint(v, 1, 1, 0, 1);
  EXPECT_EQ(v.ScreenX[1], 352 - 60 + 10);
  EXPECT_EQ(v.ScreenY[1], 92 - 60 - 4);

  v.Distance = 0;
  ProjectPoint(v, 1, 1e30L, 3, -1e30L);
  EXPECT_EQ(v.ScreenX[1], 362);
  EXPECT_EQ(v.ScreenY[1], 88);
}

TEST(Project, WrapsTo32BitsWithinThe64BitRange) {
  ViewState v;
  v.M11 = v.M22 = v.M33 = 1;
  v.Distance = 2;
  ProjectPoint(v, 0, 4294967301.0L, 0, -2147483649.0L);  // 2^32 + 5, -2^31 - 1
  EXPECT_EQ(v.ScreenX[0], 5);
  EXPECT_EQ(v.ScreenY[0], 2147483647);
  ProjectPoint(v, 0, 9223372036854775807.0L, 0, -0x1p63L);  // both ends of the 64-bit range
  EXPECT_EQ(v.ScreenX[0], -1);
  EXPECT_EQ(v.ScreenY[0], 0);
}

TEST(Project, FaultsLeaveTheScreenValues) {
  ViewState v = defaultView();
  v.ScreenX[0] = 17;
  v.ScreenY[0] = 18;
  v.Distance = 2;
  v.CenterX = 0;
  EXPECT_EQ(faultOf(v, 0x1p63L, 0, 0), kMsgInvalid);   // just beyond the 64-bit range
  EXPECT_EQ(faultOf(v, 0, 0, -0x1p64L), kMsgInvalid);
  EXPECT_EQ(faultOf(v, std::numeric_limits<Real>::quiet_NaN(), 0, 0), kMsgInvalid);
  v.Distance = 1e4000L;
  EXPECT_EQ(faultOf(v, 1e1000L, 0, 0), kMsgOverflow);  // the product with Distance
  v.Distance = 2;
  v.M12 = LDBL_MAX;
  EXPECT_EQ(faultOf(v, 0, 4, 0), kMsgOverflow);        // a matrix product
  EXPECT_EQ(v.ScreenX[0], 17);
  EXPECT_EQ(v.ScreenY[0], 18);
}

TEST(RotateAndProject, IdentityLeavesTheFigureBitIdentical) {
  ParticleSet figure;
  figure.FigureMode = true;
  figure.FigureKind = 1;
  buildFigure(figure);
  DrawingSnapshot s = figure.drawingSnapshot();
  const DrawingSnapshot before = s;
  ViewState v = defaultView();
  for (int round = 0; round < 3; ++round) {
    BuildMatrix(v);
    RotateAndProject(v, s, kSpiralPoints);
  }
  EXPECT_EQ(std::memcmp(s.DrawX.data(), before.DrawX.data(), sizeof s.DrawX), 0);
  EXPECT_EQ(std::memcmp(s.DrawY.data(), before.DrawY.data(), sizeof s.DrawY), 0);
  EXPECT_EQ(std::memcmp(s.DrawZ.data(), before.DrawZ.data(), sizeof s.DrawZ), 0);
  EXPECT_EQ(v.ScreenX[1], 352 + 60);  // point 2 = (1, 0, 0)
  EXPECT_EQ(v.ScreenY[2], 92 + 52);   // point 3: z = 0.866 -> 51.96
}

TEST(RotateAndProject, RotationsComposeAndTheStoredPointIsWhatIsDrawn) {
  ParticleSet figure;
  figure.FigureMode = true;
  figure.FigureKind = 1;
  buildFigure(figure);
  const DrawingSnapshot once = figure.drawingSnapshot();
  DrawingSnapshot twice = once;
  ViewState v = defaultView();
  v.Phi = 0.2L, v.Theta = -0.1L;
  BuildMatrix(v);
  RotateAndProject(v, twice, kSpiralPoints);
  RotateAndProject(v, twice, kSpiralPoints);
  // Two steps about different axes do not add up to one step of double angles,
  // but the same matrix applied twice must: compare with M·M.
  const Mat m = {{v.M11, v.M12, v.M13}, {v.M21, v.M22, v.M23}, {v.M31, v.M32, v.M33}};
  Mat mm;
  product(m, m, mm);
  for (int k = 0; k < kSpiralPoints; ++k) {
    const Real p[3] = {once.DrawX[k], once.DrawY[k], once.DrawZ[k]};
    const Real got[3] = {twice.DrawX[k], twice.DrawY[k], twice.DrawZ[k]};
    for (int i = 0; i < 3; ++i) {
      const Real want = mm[i][0] * p[0] + mm[i][1] * p[1] + mm[i][2] * p[2];
      EXPECT_LT(std::fabs(got[i] - want), 1e-17L) << k << "," << i;
    }
    // The screen shows the stored point, not a second rotation of it.
    EXPECT_EQ(v.ScreenX[k], static_cast<int>(std::nearbyint(352 + twice.DrawX[k] * 60)));
    EXPECT_EQ(v.ScreenY[k], static_cast<int>(std::nearbyint(92 + twice.DrawZ[k] * 60)));
  }
}

TEST(RotateAndProject, FailureKeepsEarlierPointsRotated) {
  DrawingSnapshot s;
  s.DrawX[0] = 1, s.DrawX[1] = 1e30L, s.DrawX[2] = 1;
  ViewState v = defaultView();
  v.Phi = std::acos(-1.0L);  // half a turn about z: x -> -x
  BuildMatrix(v);
  try {
    RotateAndProject(v, s, 3);
    FAIL() << "no fault";
  } catch (const FpError& e) {
    EXPECT_STREQ(e.what(), kMsgInvalid);
  }
  EXPECT_LT(s.DrawX[0], 0);
  EXPECT_LT(s.DrawX[1], 0);  // the failing point was stored before projecting
  EXPECT_EQ(s.DrawX[2], 1);
}
