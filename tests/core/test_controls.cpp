#include <gtest/gtest.h>

#include "figures/figures.h"
#include "state/errors.h"
#include "test_drawing_canvas.h"
#include "view/controls.h"
#include "view/transform.h"

using namespace zentrova;
using namespace zentrova::controls;
using zentrova::testing::RecordingCanvas;

namespace {
struct Fixture {
  RecordingCanvas canvas{200, 100};
  ViewState view;
  ParticleSet set;
  explicit Fixture(bool figure) {
    initView(view, 200, 100);
    initViewSteps(view);
    set.Count = 60;
    set.FigureMode = figure;
    set.FigureKind = 1;
    buildFigure(set);
    set.setPresent(1, true);
  }
  Scene scene() { return Scene{canvas, view, set, false}; }
};
}  // namespace

TEST(Controls, FigureModeSpinKeepsTurningOnEachTick) {
  Fixture f(true);
  ShowSpinClick(f.view, true);
  FormMouseDown(f.view, MouseButton::Left, 40, 30);
  FormMouseUp(f.scene(), MouseButton::Left, 50, 30, true);
  EXPECT_EQ(f.view.Phi, -10 * 0.01L);
  EXPECT_EQ(f.view.Theta, 0);
  const Real x2 = f.set.DrawX[1];
  TimerTimer(f.scene());
  EXPECT_NE(f.set.DrawX[1], x2);
  EXPECT_EQ(f.canvas.lines.size(), 2u * 51);
  DaoStopClick(f.scene());
  const Real stopped = f.set.DrawX[1];
  TimerTimer(f.scene());
  EXPECT_EQ(f.set.DrawX[1], stopped);
  ShowSpinClick(f.view, false);
  TimerTimer(f.scene());
  EXPECT_EQ(f.canvas.lines.size(), 4u * 51);  // no draw with SpinOn off
}

TEST(Controls, SetModeClearsAnglesAfterOneDragEvenWithShowSpin) {
  Fixture f(false);
  FormMouseDown(f.view, MouseButton::Middle, 10, 10);  // middle acts as left
  FormMouseUp(f.scene(), MouseButton::Middle, 20, 15, true);
  EXPECT_EQ(f.view.PrevPhi, -10 * 0.01L);
  EXPECT_EQ(f.view.PrevTheta, 5 * 0.01L);
  EXPECT_EQ(f.view.Phi, 0);
  EXPECT_EQ(f.view.Theta, 0);
  FormMouseDown(f.view, MouseButton::Right, 0, 0);
  FormMouseUp(f.scene(), MouseButton::Right, 3, 4, false);
  EXPECT_EQ(f.view.PrevPsi, -3 * 0.01L);
  EXPECT_EQ(f.view.Distance, 120 - 4 * 3.0L);
  EXPECT_EQ(f.canvas.fills, 2);
}

TEST(Controls, ClickWithoutMovementRedrawsAndReleaseWithoutPressUsesOrigin) {
  Fixture f(false);
  f.view.Theta = 0.7L;  // stale in set mode: cleared
  FormMouseDown(f.view, MouseButton::Left, 5, 5);
  FormMouseUp(f.scene(), MouseButton::Left, 5, 5, false);
  EXPECT_EQ(f.canvas.fills, 1);
  EXPECT_EQ(f.view.Theta, 0);
  Fixture g(true);
  FormMouseUp(g.scene(), MouseButton::Right, 2, 0, false);  // no stored press: from (0, 0)
  EXPECT_EQ(g.view.Psi, 0);  // cleared, ShowSpin unchecked
  EXPECT_NE(g.set.DrawX[1], 1.0L);
}

TEST(Controls, FailedSetModeDrawStillClearsTheStep) {
  Fixture f(false);
  f.set.DrawX[0] = 1e30L;
  EXPECT_THROW(DaoTeta1Click(f.scene()), FpError);
  EXPECT_EQ(f.view.PrevTheta, 0.01L);
  EXPECT_EQ(f.view.Theta, 0);
}

TEST(Controls, RotationButtons) {
  Fixture f(false);
  DaoPhiClick(f.scene());
  DaoPhiClick(f.scene());
  DaoPsiClick(f.scene());
  DaoTeta1Click(f.scene());
  EXPECT_EQ(f.view.PrevPhi, 0.01L + 0.01L);
  EXPECT_EQ(f.view.PrevPsi, -0.01L);
  EXPECT_EQ(f.view.PrevTheta, 0.01L);
  EXPECT_EQ(f.view.Phi + f.view.Psi + f.view.Theta, 0);
  Fixture g(true);
  g.view.Psi = 0.5L;  // a spin in progress keeps its other angles
  DaoPhi1Click(g.scene());
  EXPECT_EQ(g.view.Phi, 0);
  EXPECT_EQ(g.view.Psi, 0.5L);
}

TEST(Controls, ZoomBack) {
  Fixture f(false);
  const Real steps[] = {1, 0.5L, 3};
  for (Real z : steps) {
    f.view.ZoomStep = z;
    f.view.Distance = 9 * z;
    DaoBackClick(f.scene());
    EXPECT_EQ(f.view.Distance, 6 * z);  // exactly 9·ZoomStep subtracts
  }
  f.view.ZoomStep = 1, f.view.Distance = 8;
  DaoBackClick(f.scene());
  EXPECT_EQ(f.view.Distance, 8);
  f.view.ZoomStep = 0.5L, f.view.Distance = 4;
  DaoBackClick(f.scene());
  EXPECT_EQ(f.view.Distance, 8);
  f.view.ZoomStep = 3, f.view.Distance = 26;
  DaoBackClick(f.scene());
  EXPECT_EQ(f.view.Distance, 26 / 3.0L);
  DaoForvardClick(f.scene());
  EXPECT_EQ(f.view.Distance, 26 / 3.0L + 9);
}

TEST(Controls, TrackBarPansCentreAndToggles) {
  Fixture f(false);
  const Real a[] = {0.0005L, 0.001L, 0.002L, 0.003L, 0.005L, 0.01L, 0.05L, 0.1L, 0.5L, 1, 2};
  const Real z[] = {0.5L, 1, 2, 3, 5, 7, 10, 15, 20, 30, 50};
  for (int p = 0; p <= 10; ++p) {
    TrackBarChange(f.view, p);
    EXPECT_EQ(f.view.AngleStep, a[p]);
    EXPECT_EQ(f.view.ZoomStep, z[p]);
  }
  EXPECT_EQ(f.canvas.calls(), 0);  // nothing drawn
  Left1Click(f.scene());
  Left1Click(f.scene());
  Down1Click(f.scene());
  EXPECT_EQ(f.view.ShiftX, -10);
  EXPECT_EQ(f.view.ShiftY, 5);
  Right1Click(f.scene());
  Up1Click(f.scene());
  EXPECT_EQ(f.view.ShiftX, -5);
  EXPECT_EQ(f.view.ShiftY, 0);
  f.view.Distance = 3;
  f.view.PrevPhi = 1;
  MoveToCenterClick(f.scene());
  EXPECT_EQ(f.view.Distance, 120);
  EXPECT_EQ(f.view.ShiftX, 0);
  EXPECT_EQ(f.view.PrevPhi, 1);
  ShowNumbersOfPointsClick(f.scene(), true);
  EXPECT_TRUE(f.view.ShowNumbers);
  EXPECT_EQ(f.canvas.texts.size(), 4u);  // the easy square's four taons
}

TEST(Controls, ResizeLayout) {
  const ResizeLayout l = resizeLayout(433, 150);  // a 703-wide window
  EXPECT_EQ(l, (ResizeLayout{431, 121, 431, 428, 426, 66}));
  EXPECT_EQ(resizeLayout(20, 10).defaultColWidth, -2);  // -15 / 6 truncates toward zero
}
