#include "functions/PathFunction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/Diagnostics.h"
#include "functions/FunctionsTypes.h"
#include "functions/PathKinds.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

std::string Cells(int row, const std::vector<float>& values) {
  std::string s;
  for (size_t c = 0; c < values.size(); ++c)
    s += "<paramdef row='" + std::to_string(row) + "' col='" + std::to_string(c) + "' static='yes' value='" +
         std::to_string(values[c]) + "'/>";
  return s;
}
// A path: outputs x, y; the step cell; row 2 as given; more rows as given.
std::string PathXml(const std::string& type, const std::vector<float>& row2, const std::string& more = {},
                    const std::string& attrs = {}, const std::string& children = {}) {
  return "<function type='" + type + "' " + attrs + "><paramspace><paramdefs>" + Cells(0, {0, 0}) +
         Cells(1, {0}) + Cells(2, row2) + more + "</paramdefs></paramspace>" + children + "</function>";
}

class PathTest : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterFunctionsTypes();
  }
  void TearDown() override { TClassRegistry::Instance().Reset(); }

  Ref<IPathFunction> Make(const std::string& xml) {
    auto path = CreateFromNodeAs<IPathFunction>(LoadStorageText(xml));
    EXPECT_TRUE(path) << xml;
    path->Bind(nullptr);
    path->Prepare();
    return path;
  }
  static std::pair<float, float> At(IPathFunction& path, float step) {
    path.SetStep(step);
    return {path.GetX(), path.GetY()};
  }
};

using P = std::pair<float, float>;
// Points computed in 32-bit floats: equal up to the last bits of a float.
::testing::AssertionResult IsPoint(const P& p, float x, float y) {
  const auto close = [](float a, float b) { return std::abs(a - b) <= 1e-5f * std::max(1.0f, std::abs(b)); };
  if (close(p.first, x) && close(p.second, y)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << p.first << ", " << p.second << ") is not (" << x << ", " << y << ")";
}
#define EXPECT_POINT(actual, x, y) EXPECT_TRUE(IsPoint((actual), float(x), float(y)))

TEST_F(PathTest, SegmentStepsLoopAndLength) {
  auto seg = Make(PathXml("path_segment", {0, 0, 100, 0, 10, 0}));
  EXPECT_POINT(At(*seg, 5), 50, 0);
  EXPECT_POINT(At(*seg, 10), 100, 0);
  EXPECT_POINT(At(*seg, 13.9f), 130, 0) << "the step is truncated; nothing stops at the end";
  EXPECT_POINT(At(*seg, -2), -20, 0);
  EXPECT_EQ(seg->GetStepCount(), 10);
  EXPECT_EQ(seg->GetLength(), 100.0f);
  EXPECT_EQ(seg->GetCell(5, 2), 100.0f) << "Prepare stores the length in row 2, column 5";

  auto loop = Make(PathXml("path_segment", {0, 0, 100, 0, 10, 0}, {}, "loop='yes'"));
  EXPECT_POINT(At(*loop, 10), 0, 0);
  EXPECT_POINT(At(*loop, 13), 30, 0);
  // Saving writes "loop" only when it is on.
  auto saved = NewStorage("function");
  Query<IPersistent>(loop)->Save(saved);
  EXPECT_EQ(saved->ReadAttr("loop", ""), "yes");
  auto plain = NewStorage("function");
  Query<IPersistent>(seg)->Save(plain);
  EXPECT_EQ(plain->ReadAttr("loop", "none"), "none");

  // The squared length is rounded before the root.
  EXPECT_EQ(Make(PathXml("path_segment", {0, 0, 3, 4, 1, 0}))->GetLength(), 5.0f);
  EXPECT_EQ(Make(PathXml("path_segment", {0, 0, 1, 1, 1, 0}))->GetLength(), 1.0f);
  EXPECT_EQ(Make(PathXml("path_segment", {0, 0, 1.3f, 1.2f, 1, 0}))->GetLength(), 2.0f) << "sqrt(3)";
  EXPECT_EQ(Make(PathXml("path_segment", {0, 0, 3, 3, 1, 0}))->GetLength(), 4.0f) << "sqrt(18)";
  // y goes the other way round: y0 + f * (y1 - y0).
  auto diagonal = Make(PathXml("path_segment", {10, 20, -10, 60, 4, 0}));
  EXPECT_POINT(At(*diagonal, 1), 5, 30);
  EXPECT_EQ(diagonal->GetBounds(), (TPathBounds{-10, 20, 10, 60}));
  EXPECT_EQ(Make(PathXml("path_segment", {0.5f, 1.5f, 2.5f, -0.6f, 1, 0}))->GetBounds(),
            (TPathBounds{0, -1, 2, 2}))
      << "rounded half to even";
  // No steps: the point stays at the start.
  auto none = Make(PathXml("path_segment", {7, 8, 100, 0, 0, 0}));
  EXPECT_POINT(At(*none, 3), 7, 8);
}

TEST_F(PathTest, AcceleratedSegmentGoesBeyondItsEnd) {
  // d = s*s*a/2 + s*v along a segment of length 100 lying on the x axis.
  auto acc = Make(PathXml("path_segment_accelerate", {0, 0, 100, 0, 10, 0, 5, 2}));
  EXPECT_EQ(acc->GetLength(), 100.0f);
  EXPECT_POINT(At(*acc, 0), 0, 0);
  EXPECT_POINT(At(*acc, 3), 24, 0);    // 9 + 15
  EXPECT_POINT(At(*acc, 10), 150, 0);  // 100 + 50: not clamped
  auto slanted = Make(PathXml("path_segment_accelerate", {0, 0, 30, 40, 1, 0, 10, 0}));
  EXPECT_POINT(At(*slanted, 2), 12, 16);  // 20 along 50
  // Without length the point stays at its start.
  auto zero = Make(PathXml("path_segment_accelerate", {4, 5, 4, 5, 1, 0, 1, 1}));
  EXPECT_POINT(At(*zero, 4), 4, 5);
}

TEST_F(PathTest, ArcDirections) {
  // Start at angle 0 (right of the centre), end at pi/2 (below it, y down).
  const std::vector<float> geometry = {110, 50, 100, 60, 4, 0, 100, 50};
  auto up = Make(PathXml("path_arc", geometry, Cells(3, {0, 0, 0, 0}) + Cells(4, {1})));
  EXPECT_FLOAT_EQ(up->GetCell(0, 3), 10.0f);
  EXPECT_FLOAT_EQ(up->GetCell(2, 3), 0.0f);
  EXPECT_FLOAT_EQ(up->GetCell(3, 3), static_cast<float>(std::numbers::pi / 2));
  EXPECT_NEAR(up->GetLength(), 10 * std::numbers::pi / 2, 1e-4);
  auto [x, y] = At(*up, 2);  // a quarter turn halved: 45 degrees
  EXPECT_NEAR(x, 100 + 10 * std::cos(std::numbers::pi / 4), 1e-4);
  EXPECT_NEAR(y, 50 + 10 * std::sin(std::numbers::pi / 4), 1e-4);
  EXPECT_EQ(up->GetBounds(), (TPathBounds{100, 50, 110, 60}));

  // Direction 0: the start angle becomes 2 pi and the point turns through
  // -3 pi / 2, passing the top, the left and the bottom.
  auto down = Make(PathXml("path_arc", geometry, Cells(3, {0, 0, 0, 0}) + Cells(4, {0})));
  EXPECT_FLOAT_EQ(down->GetCell(2, 3), static_cast<float>(2 * std::numbers::pi));
  EXPECT_NEAR(down->GetLength(), 10 * 3 * std::numbers::pi / 2, 1e-4);
  std::tie(x, y) = At(*down, 1);  // 2 pi - 3 pi / 8
  EXPECT_NEAR(x, 100 + 10 * std::cos(2 * std::numbers::pi - 3 * std::numbers::pi / 8), 1e-4);
  EXPECT_NEAR(y, 50 + 10 * std::sin(2 * std::numbers::pi - 3 * std::numbers::pi / 8), 1e-4);
  EXPECT_LT(y, 50) << "turning backwards from angle 0 goes up first (y down)";
  std::tie(x, y) = At(*down, 4);
  EXPECT_NEAR(x, 100, 1e-4);
  EXPECT_NEAR(y, 60, 1e-4);
  EXPECT_EQ(down->GetBounds(), (TPathBounds{90, 40, 110, 60}));

  // Without row 4 the direction is 0; without row 3 the arc still works.
  auto bare = Make(PathXml("path_arc", geometry));
  EXPECT_NEAR(bare->GetLength(), down->GetLength(), 1e-4);
  std::tie(x, y) = At(*bare, 4);
  EXPECT_NEAR(x, 100, 1e-4);
  EXPECT_NEAR(y, 60, 1e-4);
  // A radius that changes along the way: from 10 to 20 over a half turn.
  auto spiral = Make(PathXml("path_arc", {10, 0, -20, 0, 2, 0, 0, 0}, Cells(4, {1})));
  std::tie(x, y) = At(*spiral, 1);
  EXPECT_NEAR(x, 0, 1e-4);
  EXPECT_NEAR(y, 15, 1e-4);
  // Maxima round away from zero, minima down.
  EXPECT_EQ(
      Make(PathXml("path_arc", {-0.5f, -2.5f, -1.5f, -0.5f, 1, 0, -1.5f, -2.5f}, Cells(4, {1})))->GetBounds(),
      (TPathBounds{-2, -3, -1, -1}));
}

TEST_F(PathTest, BezierPointsAndLength) {
  // A straight cubic: control points on the chord.
  auto line = Make(PathXml("path_bezier", {0, 0, 30, 0, 3, 0, 10, 0, 20, 0}));
  EXPECT_EQ(line->GetLength(), 30.0f);
  EXPECT_POINT(At(*line, 1), 10, 0);
  EXPECT_POINT(At(*line, 3), 30, 0);
  // A symmetric arch: at f = 1/2 the point is (P0 + 3 P1 + 3 P2 + P3) / 8.
  auto arch = Make(PathXml("path_bezier", {0, 0, 40, 0, 2, 0, 0, 40, 40, 40}));
  EXPECT_POINT(At(*arch, 1), 20, 30);
  EXPECT_EQ(arch->GetBounds(), (TPathBounds{0, 0, 40, 40}));
  // The length lies between the chord and the control polygon, near the
  // true length of about 77.9.
  const float length = arch->GetLength();
  EXPECT_GT(length, 75.0f);
  EXPECT_LT(length, 80.0f);
  EXPECT_EQ(arch->GetCell(5, 2), length);
  // A curve folded onto one point has no length (and ends).
  EXPECT_EQ(Make(PathXml("path_bezier", {5, 5, 5, 5, 1, 0, 5, 5, 5, 5}))->GetLength(), 0.0f);
  // A loop back to its start is measured through its halves.
  EXPECT_GT(Make(PathXml("path_bezier", {0, 0, 0, 0, 1, 0, 30, 30, -30, 30}))->GetLength(), 40.0f);
}

TEST_F(PathTest, CompositeMapsItsStepsOntoTheSubPaths) {
  const std::string subs = "<functions>" + PathXml("path_segment", {0, 0, 100, 0, 10, 0}) +
                           PathXml("path_segment", {100, 0, 100, 50, 10, 0}) + "</functions>";
  auto chain = Make(PathXml("path_composite", {0, 0, 77, 88, 0, 0}, {}, {}, subs));
  EXPECT_EQ(chain->GetStepCount(), 20);
  EXPECT_EQ(chain->GetLength(), 150.0f);
  EXPECT_EQ(chain->GetCell(5, 2), 150.0f);
  EXPECT_EQ(chain->GetBounds(), (TPathBounds{0, 0, 100, 50}));
  EXPECT_POINT(At(*chain, 15), 100, 25) << "step 5 of the second segment";
  EXPECT_POINT(At(*chain, 3), 30, 0) << "an earlier step restarts from the first";
  EXPECT_POINT(At(*chain, 10), 100, 0);
  EXPECT_POINT(At(*chain, 20), 100, 50);
  EXPECT_POINT(At(*chain, 25), 77, 88) << "past the end: the composite's own end point";
  EXPECT_POINT(At(*chain, 12), 100, 10);
  // With loop the steps wrap around the sum.
  auto loop = Make(PathXml("path_composite", {0, 0, 77, 88, 0, 0}, {}, "loop='yes'", subs));
  EXPECT_POINT(At(*loop, 25), 50, 0);
  // A sub-function that is no path takes no steps and is reported.
  TDiagnosticsCollector errors;
  const std::string mixed = "<functions><function type='function_sum'/>" +
                            PathXml("path_segment", {0, 0, 10, 0, 10, 0}) + "</functions>";
  auto odd = Make(PathXml("path_composite", {0, 0, 5, 5, 0, 0}, {}, {}, mixed));
  EXPECT_EQ(errors.Errors().size(), 1u);
  EXPECT_EQ(odd->GetStepCount(), 10);
  EXPECT_POINT(At(*odd, 4), 4, 0) << "the first sub-function is passed over";
  // Rebinding starts from the first sub-path again.
  At(*chain, 18);
  chain->Bind(nullptr);
  chain->Prepare();
  EXPECT_POINT(At(*chain, 18), 100, 40);
}

TEST_F(PathTest, ArbitraryPathRunsItsSubFunctions) {
  // x := step * 2 through a sum of links, y := a constant 9.
  const std::string sum =
      "<function type='function_sum'><paramspace><paramdefs>"
      "<paramdef name='x' row='0' col='0' outrow='0' outcol='0'/>"
      "<paramdef name='a' row='1' col='0' outrow='1' outcol='0'/>"
      "<paramdef name='b' row='1' col='1' outrow='1' outcol='0'/>"
      "<paramdef name='y' row='0' col='1' outrow='0' outcol='1'/>"
      "<paramdef row='2' col='0' static='yes' value='9'/>"
      "</paramdefs></paramspace></function>";
  auto path =
      Make(PathXml("path_arbitrary", {0, 0, 0, 0, 5, 0}, {}, {}, "<functions>" + sum + "</functions>"));
  EXPECT_POINT(At(*path, 4), 8, 9);
  EXPECT_EQ(path->GetStepCount(), 5);
  EXPECT_EQ(path->GetLength(), 0.0f) << "no sub-path, no length";
}

}  // namespace
}  // namespace qv
