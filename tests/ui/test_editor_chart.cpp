#include <gtest/gtest.h>

#include <cfenv>

#include "force_chart.h"
#include "state/fp_guard.h"

namespace {

TEST(EditorChart, FaultingPointsAreSkippedAndLeaveNoFlagsBehind) {
  std::feclearexcept(FE_ALL_EXCEPT);
  const ForceCurves c = sampleForceCurves(ChartLaws{}, 14, 29);
  EXPECT_EQ(std::fetestexcept(zentrova::kFaultFlags), 0);
  ASSERT_EQ(c.distance.size(), 29u);
  // d = 0 takes the logarithm of 0.
  EXPECT_FALSE(c.e[0].has_value());
  EXPECT_FALSE(c.diff[0].has_value());
  for (std::size_t i = 1; i < c.distance.size(); ++i) {
    ASSERT_TRUE(c.e[i] && c.pe[i] && c.diff[i]) << i;
    EXPECT_EQ(*c.diff[i], *c.e[i] - *c.pe[i]);
  }
  // At d = 1 the PE law is -A1 B1: its logarithm factor is 1.
  EXPECT_NEAR(double(*c.pe[2]), -2.718, 1e-12);
  // A zero shell parameter faults every E point but PE still draws.
  ChartLaws zeroShell;
  zeroShell.c = 0;
  const ForceCurves bad = sampleForceCurves(zeroShell, 14, 8);
  EXPECT_EQ(std::fetestexcept(zentrova::kFaultFlags), 0);
  for (std::size_t i = 1; i < bad.distance.size(); ++i) {
    EXPECT_FALSE(bad.e[i].has_value());
    EXPECT_TRUE(bad.pe[i].has_value());
  }
}

TEST(EditorChart, BothChartsAreDrawnWithTheirThreeCurves) {
  const QImage image = drawForceCharts(QSize(217, 385), ChartLaws{});
  ASSERT_EQ(image.size(), QSize(217, 385));
  for (const int top : {0, 385 / 2}) {
    int red = 0, blue = 0, green = 0;
    for (int y = top; y < top + 385 / 2; ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        red += p == qRgb(255, 0, 0);
        blue += p == qRgb(0, 0, 255);
        green += p == qRgb(0, 128, 0);
      }
    EXPECT_GT(red, 20) << top;
    EXPECT_GT(blue, 20) << top;
    EXPECT_GT(green, 20) << top;
  }
}

}  // namespace
