#include <gtest/gtest.h>

#include <cmath>

#include "figures/figures.h"
#include "state/errors.h"
#include "test_drawing_canvas.h"
#include "view/controls.h"
#include "view/fit.h"
#include "view/preview.h"
#include "view/transform.h"

using namespace zentrova;
using namespace zentrova::controls;
using zentrova::testing::RecordingCanvas;

namespace {
struct Fixture {
  RecordingCanvas canvas{200, 100};
  ViewState view;
  DrawingSnapshot set;  // what the window keeps between drawings
  explicit Fixture(bool figure) {
    initView(view, 200, 100);
    initViewSteps(view);
    ParticleSet s;
    s.Count = 60;
    s.FigureMode = figure;
    s.FigureKind = 1;
    buildFigure(s);
    s.setPresent(1, true);
    set = s.drawingSnapshot();
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

namespace {
// Particles spread over ±80 units, as a user's set may be.
void spread(DrawingSnapshot& s) {
  unsigned r = 12345;
  const auto next = [&r] {
    r = r * 1103515245u + 12345u;
    return static_cast<Real>((r >> 8) % 16001) / 100 - 80;
  };
  for (int i = 1; i <= 60; ++i) {
    s.setPresent(i, i % 7 != 0);
    s.DrawX[i - 1] = next();
    s.DrawY[i - 1] = next();
    s.DrawZ[i - 1] = next();
  }
  s.DrawX[13] = 1e9L;  // absent (14): never fitted
}
}  // namespace

TEST(Controls, FitPutsEveryShownPointInsideWithItsMarginInAnyOrientation) {
  for (const bool figure : {false, true})
    for (const Real angle : {0.0L, 0.4L, 2.0L, -3.1L})
      for (const int size : {2, 5}) {
        Fixture f(figure);
        if (!figure) spread(f.set);
        f.view.PrevTheta = angle, f.view.PrevPsi = angle / 2, f.view.PrevPhi = -angle;
        f.view.Theta = angle / 3;  // turns the figure once more on the redraw
        f.view.Distance = -3, f.view.ShiftX = 1e5L;  // a view left empty
        const DrawingSnapshot before = f.set;
        Scene scene = f.scene();
        scene.pointSize = size;
        FitToView(scene, 15);
        const int m = fitMargin(200, 100), off = dotOffset(size);
        int minX = 1 << 30, maxX = -minX;
        for (int i = 1; i <= (figure ? 19 : 60); ++i) {
          if (!figure && !f.set.present(i)) continue;
          const int x = f.view.ScreenX[i - 1], y = f.view.ScreenY[i - 1];
          EXPECT_GE(x - off, m);
          EXPECT_LE(x - off + size - 1, 199 - m);
          EXPECT_GE(y - off, m + 15);
          EXPECT_LE(y - off + size - 1, 99 - m);
          minX = std::min(minX, x), maxX = std::max(maxX, x);
        }
        EXPECT_GT(f.view.Distance, 0);
        if (!figure) {
          EXPECT_FALSE(particleOffView(scene));
          EXPECT_EQ(f.set.DrawX, before.DrawX);  // the set is untouched
          EXPECT_EQ(f.view.PrevPhi, -angle);
        }
      }
  Fixture one(false);  // a single particle is centred at the zoom it has
  one.set.Present.fill(0);
  one.set.setPresent(1, true);
  one.view.Distance = 50;
  one.set.DrawX[0] = 1000;
  FitToView(one.scene());
  EXPECT_EQ(one.view.Distance, 50);
  EXPECT_NEAR(one.view.ScreenX[0], 100, 1);
  one.view.ShiftX = 500;
  DrawTaons(one.scene());
  EXPECT_TRUE(particleOffView(one.scene()));
}

TEST(Controls, WheelZoomIsMultiplicativeAboutTheCentreAndNeverReachesZero) {
  Fixture f(false);
  f.view.ShiftX = 10, f.view.ShiftY = -4;
  WheelZoom(f.scene(), 1);
  EXPECT_EQ(f.view.Distance, 150);
  EXPECT_EQ(f.view.ShiftX, 12.5L);
  EXPECT_EQ(f.view.ShiftY, -5);
  WheelZoom(f.scene(), -2);
  EXPECT_NEAR(static_cast<double>(f.view.Distance), 96, 1e-12);
  for (int n = 0; n < 3000; ++n) WheelZoom(f.scene(), -1);
  EXPECT_GT(f.view.Distance, 0);
  for (int n = 0; n < 1000; ++n) WheelZoom(f.scene(), 3);
  EXPECT_TRUE(std::isfinite(f.view.Distance));
  f.view.Distance = -6;  // a mirrored view stays mirrored
  WheelZoom(f.scene(), -0.5L);
  EXPECT_LT(f.view.Distance, 0);
}

namespace {
std::vector<Rgb> pixels(const RecordingCanvas& c) {
  std::vector<Rgb> p;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) p.push_back(c.at(x, y));
  return p;
}
}  // namespace

TEST(Controls, DragPreviewShowsTheReleaseAndLeavesTheStateAlone) {
  for (const bool figure : {false, true})
    for (const MouseButton b : {MouseButton::Left, MouseButton::Right}) {
      Fixture plain(figure), previewed(figure);
      for (Fixture* f : {&plain, &previewed}) {
        f->set.setPresent(2, true);
        f->set.DrawX[1] = 0.3L, f->set.DrawZ[1] = 0.2L;
        f->view.Psi = 0.02L;  // a spin in progress
        FormMouseDown(f->view, b, 50, 40);
      }
      const DrawingSnapshot setBefore = previewed.set;
      DrawDragPreview(previewed.scene(), b, 70, 60, true);
      DrawDragPreview(previewed.scene(), b, 90, 25, true);
      EXPECT_EQ(previewed.set.DrawX, setBefore.DrawX);
      EXPECT_EQ(previewed.view.ScreenX, plain.view.ScreenX);
      EXPECT_EQ(previewed.view.Distance, 120);
      EXPECT_EQ(previewed.view.Psi, 0.02L);
      const std::vector<Rgb> shown = pixels(previewed.canvas);
      const auto lines = previewed.canvas.lines.size();

      for (Fixture* f : {&plain, &previewed}) FormMouseUp(f->scene(), b, 90, 25, true);
      EXPECT_EQ(pixels(previewed.canvas), shown);  // the release shows what the preview did
      if (figure) {
        const auto& l = previewed.canvas.lines;
        ASSERT_EQ(l.size(), lines + 51);
        for (std::size_t k = 0; k < 51; ++k) {
          EXPECT_EQ(l[lines + k].x1, l[lines - 51 + k].x1);
          EXPECT_EQ(l[lines + k].y2, l[lines - 51 + k].y2);
        }
      }
      EXPECT_EQ(previewed.set.DrawX, plain.set.DrawX);
      EXPECT_EQ(previewed.set.DrawZ, plain.set.DrawZ);
      EXPECT_EQ(previewed.view.ScreenX, plain.view.ScreenX);
      EXPECT_EQ(previewed.view.Distance, plain.view.Distance);
      EXPECT_EQ(previewed.view.PrevPsi, plain.view.PrevPsi);
      EXPECT_EQ(previewed.view.Psi, plain.view.Psi);
      EXPECT_EQ(previewed.view.Phi, plain.view.Phi);
    }
}
