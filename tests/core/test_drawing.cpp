#include <gtest/gtest.h>
#include <cmath>

#include "figures/figures.h"
#include "state/errors.h"
#include "test_drawing_canvas.h"
#include "view/drawing.h"
#include "view/trails.h"
#include "view/transform.h"

using namespace zentrova;
using zentrova::testing::RecordingCanvas;

namespace {
struct Fixture {
  RecordingCanvas canvas{100, 80};
  ViewState view;
  ParticleSet set;
  Fixture() {
    initView(view, 100, 80);  // centre (50, 40), Distance 120
    set.Count = 60;
  }
  Scene scene(bool taoscope) { return Scene{canvas, view, set, taoscope}; }
  void place(int i, Real x, Real z) {
    set.setPresent(i, true);
    set.DrawX[i - 1] = x;
    set.DrawZ[i - 1] = z;
  }
};
}  // namespace

TEST(DrawTaons, DotsColoursAndSharedPixels) {
  Fixture f;
  f.place(1, 0, 0);       // (50, 40)
  f.place(2, 0.1L, 0);    // (56, 40)
  f.place(21, 0.2L, 0);   // (62, 40)
  f.place(41, 0.3L, 0);   // (68, 40)
  f.place(42, 0.3L, 0);   // same pixel as 41: the later one wins
  f.set.DrawX[9] = 0.5L;  // particle 10 absent: not drawn
  DrawTaons(f.scene(false));
  EXPECT_EQ(f.canvas.fills, 1);
  EXPECT_EQ(f.canvas.pixelWrites, 5 * 4);
  for (int dx : {0, 1})
    for (int dy : {0, 1}) {
      EXPECT_EQ(f.canvas.at(50 + dx, 40 + dy), kYellow);
      EXPECT_EQ(f.canvas.at(56 + dx, 40 + dy), kYellow);
      EXPECT_EQ(f.canvas.at(62 + dx, 40 + dy), kFuchsia);
      EXPECT_EQ(f.canvas.at(68 + dx, 40 + dy), kAqua);
    }
  EXPECT_EQ(f.canvas.at(80, 40), kBlack);
  EXPECT_EQ(f.view.ScreenX[9], 0);  // absent particles keep their old screen values

  RecordingCanvas t(100, 80);
  DrawTaons(Scene{t, f.view, f.set, true});
  EXPECT_EQ(t.at(50, 40), kRed);    // odd
  EXPECT_EQ(t.at(56, 41), kLime);   // even
  EXPECT_EQ(t.at(62, 40), kRed);
  EXPECT_EQ(t.at(68, 40), kLime);   // 42 over 41
}

TEST(DrawTaons, NumbersOffsetByTwoAfterAllDots) {
  Fixture f;
  f.place(3, 0, 0);
  f.place(30, 0.1L, 0.1L);
  f.view.ShowNumbers = true;
  DrawTaons(f.scene(false));
  ASSERT_EQ(f.canvas.texts.size(), 2u);
  EXPECT_EQ(f.canvas.texts[0].s, "3");
  EXPECT_EQ(f.canvas.texts[0].x, 52);
  EXPECT_EQ(f.canvas.texts[0].y, 42);
  EXPECT_EQ(f.canvas.texts[0].font, kYellow);
  EXPECT_EQ(f.canvas.texts[0].brush, kBlack);
  EXPECT_EQ(f.canvas.texts[1].s, "30");
  EXPECT_EQ(f.canvas.texts[1].font, kFuchsia);
}

TEST(DrawTaons, FailingProjectionLeavesTheCanvasUntouched) {
  Fixture f;
  f.place(1, 0, 0);
  f.place(2, 1e30L, 0);
  EXPECT_THROW(DrawTaons(f.scene(false)), FpError);
  EXPECT_EQ(f.canvas.calls(), 0);
}

TEST(DrawFigure, WireFrameAndLabels) {
  Fixture f;
  f.set.FigureMode = true;
  f.set.FigureKind = 1;
  buildFigure(f.set);
  f.view.ShowNumbers = true;
  RedrawView(f.scene(false));
  ASSERT_EQ(f.canvas.lines.size(), 51u);
  int white = 0, red = 0;
  for (const auto& l : f.canvas.lines) (l.pen == kWhite ? white : red) += (l.pen == kWhite || l.pen == kRed);
  EXPECT_EQ(white, 3);
  EXPECT_EQ(red, 48);
  EXPECT_EQ(f.canvas.lines[0].pen, kWhite);  // 1-2 first
  EXPECT_EQ(f.canvas.lines[0].x1, f.view.ScreenX[1]);
  EXPECT_EQ(f.canvas.lines[0].x2, f.view.ScreenX[0]);
  ASSERT_EQ(f.canvas.texts.size(), 19u);
  for (int k = 0; k < 19; ++k) {
    EXPECT_EQ(f.canvas.texts[k].s, std::to_string(k + 1));
    EXPECT_EQ(f.canvas.texts[k].x, f.view.ScreenX[k]);  // no offset
    EXPECT_EQ(f.canvas.texts[k].y, f.view.ScreenY[k]);
    EXPECT_EQ(f.canvas.texts[k].font, kLime);
  }
}

TEST(PaintView, SetModeTakesTheStartName) {
  Fixture f;
  f.set.StartName = "/sets/cube.lis1";
  f.set.SetFileName = "The easy square";
  PaintView(f.scene(false), 703, 185);
  EXPECT_EQ(f.set.SetFileName, "/sets/cube.lis1");
  EXPECT_EQ(f.view.CenterX, 352);
  f.set.FigureMode = true;
  f.set.SetFileName = "ThetraSpiral";
  PaintView(f.scene(false), 703, 185);
  EXPECT_EQ(f.set.SetFileName, "ThetraSpiral");
}

TEST(DrawTaons, LargerDotsAreCentredAndTrailsLieUnderThemInADarkerShade) {
  Fixture f;
  f.place(1, 0, 0);  // (50, 40)
  f.place(2, 0.1L, 0);
  f.view.ShowNumbers = true;
  Trails trails;
  for (int n = 0; n < 600; ++n) {  // particle 1 walks right, 2 stays put
    f.set.DrawX[0] = n / 6000.0L;
    f.set.DrawY[0] = n;  // depth: not seen
    trails.record(f.set);
  }
  EXPECT_EQ(trails.length(1), Trails::kLength);
  EXPECT_EQ(trails.at(1, 0).y, 100);  // the oldest kept is the 101st
  EXPECT_EQ(trails.at(1, Trails::kLength - 1).y, 599);
  EXPECT_EQ(trails.length(3), 0);  // absent
  f.set.DrawX[0] = 0;
  Scene scene = f.scene(false);
  scene.trails = &trails;
  scene.pointSize = 5;
  DrawTaons(scene);
  for (int d = -2; d <= 2; ++d) EXPECT_EQ(f.canvas.at(50 + d, 40 + d), kYellow);
  EXPECT_EQ(f.canvas.texts[0].x, 53);  // just past the dot
  ASSERT_FALSE(f.canvas.lines.empty());
  for (const auto& l : f.canvas.lines) {
    EXPECT_EQ(l.pen, (Rgb{127, 127, 0}));  // 2 stood still: no line
    EXPECT_EQ(l.y1, 40);
  }
  EXPECT_EQ(f.canvas.lines.front().x1, 51);  // positions 101..600 of the walk
  EXPECT_EQ(f.canvas.lines.back().x2, 56);
  trails.clear();
  EXPECT_TRUE(trails.empty());
}

TEST(Marks, PickingTakesTheNearestDrawnParticleWithinTheRadius) {
  Fixture f;
  f.place(7, 0, 0);        // (50, 40)
  f.place(12, 0.1L, 0);    // (56, 40)
  f.place(13, 0.1L, 0.1L); // (56, 46)
  f.set.DrawX[19] = 0;     // particle 20 absent at the centre
  DrawTaons(f.scene(false));
  EXPECT_EQ(pickParticle(f.view, f.set, 50, 40, 5), 7);
  EXPECT_EQ(pickParticle(f.view, f.set, 54, 41, 5), 12);
  EXPECT_EQ(pickParticle(f.view, f.set, 57, 45, 5), 13);
  EXPECT_EQ(pickParticle(f.view, f.set, 50, 47, 5), 0);
  f.set.FigureMode = true;
  EXPECT_EQ(pickParticle(f.view, f.set, 50, 40, 5), 0);
  f.set.FigureMode = false;
  f.place(30, 0, 0);  // drawn over 7
  DrawTaons(f.scene(false));
  EXPECT_EQ(pickParticle(f.view, f.set, 50, 40, 5), 30);
  f.set.setPresent(30, false);

  f.set.X[6] = 0, f.set.X[11] = 2, f.set.Z[12] = 3;  // a right angle at 7
  EXPECT_NEAR(double(particleAngle(f.set, 12, 7, 13)), 90.0, 1e-12);
  EXPECT_TRUE(std::isnan(particleAngle(f.set, 7, 7, 13)));

  RecordingCanvas c(100, 80);
  DrawPicked(c, f.view, f.set, {7, 12}, 2);
  ASSERT_EQ(c.lines.size(), 9u);  // two rings and the line between them
  EXPECT_EQ(c.lines.back().x1, 50);
  EXPECT_EQ(c.lines.back().x2, 56);
}

TEST(Marks, PaletteLegendTriadAndScale) {
  Fixture f;
  f.place(1, 0, 0);
  f.place(21, 0.1L, 0);
  f.place(41, 0.2L, 0);
  Scene scene = f.scene(false);
  scene.palette = Palette::OkabeIto;
  DrawTaons(scene);
  const Rgb pe = f.canvas.at(50, 40), pes1 = f.canvas.at(56, 40), pes2 = f.canvas.at(62, 40);
  EXPECT_NE(pe, kYellow);
  EXPECT_NE(pe, pes1);
  EXPECT_NE(pes1, pes2);
  EXPECT_NE(taonColor(1, 60, true, Palette::OkabeIto), taonColor(2, 60, true, Palette::OkabeIto));
  EXPECT_EQ(taonColor(21, 60, false, Palette::Classic), kFuchsia);

  RecordingCanvas legend(200, 100);
  DrawLegend(legend, 60, false, Palette::OkabeIto, "odd", "even");
  ASSERT_EQ(legend.texts.size(), 3u);
  EXPECT_EQ(legend.texts[1].s, "PES1 21-40");
  EXPECT_EQ(legend.texts[1].font, pes1);
  RecordingCanvas two(200, 100);
  DrawLegend(two, 60, true, Palette::Classic, "odd", "even");
  ASSERT_EQ(two.texts.size(), 2u);
  EXPECT_EQ(two.texts[0].font, kRed);

  // Unturned: x across, z down the screen, y into it.
  RecordingCanvas triad(100, 80);
  DrawTriad(triad, f.view);
  ASSERT_EQ(triad.lines.size(), 3u);
  EXPECT_EQ(triad.lines[0].x2 - triad.lines[0].x1, 22);
  EXPECT_EQ(triad.lines[0].y2 - triad.lines[0].y1, 0);
  EXPECT_EQ(triad.lines[1].x2 - triad.lines[1].x1, 0);
  EXPECT_EQ(triad.lines[2].y2 - triad.lines[2].y1, 22);

  // Distance 120: 60 pixels a unit, so 2 units is the longest within 120.
  EXPECT_EQ(scaleBarLength(120, 120), 2);
  EXPECT_NEAR(double(scaleBarLength(2000, 120)), 0.1, 1e-15);
  EXPECT_EQ(scaleBarLength(0, 120), 0);
  RecordingCanvas bar(300, 200);
  DrawScaleBar(bar, f.view, ',');
  ASSERT_EQ(bar.texts.size(), 1u);
  EXPECT_EQ(bar.texts[0].s, "2");
  EXPECT_EQ(bar.lines[0].x2 - bar.lines[0].x1, 120);
}
