// The view reports the first fault of a projection by testing the flags after
// each operation. A compiler is free to move plain arithmetic past such a
// test, and clang does: an overflowing product then surfaced later as the
// invalid rounding of an infinity. These cases pin the message on every path
// of the transform.
#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "state/errors.h"
#include "state/particle_set.h"
#include "test_drawing_canvas.h"
#include "view/drawing.h"
#include "view/transform.h"

using namespace zentrova;

namespace {

ViewState identityView() {
  ViewState v;
  initView(v, 703, 400);
  return v;
}

template <class F>
std::string faultOf(F&& f) {
  try {
    f();
  } catch (const FpError& e) {
    return e.what();
  }
  return "no fault";
}

}  // namespace

TEST(FaultOrder, OverflowingProductsAreOverflowNotInvalid) {
  ViewState v = identityView();
  v.Distance = 1e4000L;
  EXPECT_EQ(faultOf([&] { ProjectPoint(v, 0, 1e1000L, 0, 0); }), kMsgOverflow);  // x times Distance
  EXPECT_EQ(faultOf([&] { ProjectPoint(v, 0, 0, 0, -1e1000L); }), kMsgOverflow);  // z times Distance

  v = identityView();
  v.M13 = LDBL_MAX;
  EXPECT_EQ(faultOf([&] { ProjectPoint(v, 0, 0, 0, 2); }), kMsgOverflow);  // a matrix product
  v = identityView();
  v.ShiftX = LDBL_MAX;
  v.Distance = LDBL_MAX;
  EXPECT_EQ(faultOf([&] { ProjectPoint(v, 0, 1, 0, 0); }), kMsgOverflow);  // the sum with the shift

  DrawingSnapshot s;
  s.DrawX[0] = 1;
  s.DrawY[1] = 1e4000L;
  v = identityView();
  v.M21 = v.M22 = 1e1000L;
  EXPECT_EQ(faultOf([&] { RotateAndProject(v, s, 2); }), kMsgOverflow);  // the depth row
}

TEST(FaultOrder, DrawingStopsWithOverflowAndLeavesThePicture) {
  zentrova::testing::RecordingCanvas canvas(40, 30);
  ViewState v = identityView();
  v.Distance = 1e4000L;
  DrawingSnapshot s;
  s.Count = 60;
  s.setPresent(3, true);
  s.DrawX[2] = 1e1000L;
  EXPECT_EQ(faultOf([&] { DrawTaons(Scene{canvas, v, s, false}); }), kMsgOverflow);
  EXPECT_EQ(canvas.calls(), 0);
}
