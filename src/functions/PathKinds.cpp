#include "functions/PathKinds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Diagnostics.h"
#include "functions/FloatToInt.h"
#include "storage/ClassRegistry.h"

namespace qv {

namespace {

// Rounding of the paths: to nearest, ties to even.
int Round(double v) {
  return TruncSaturated<int>(std::nearbyint(v));
}
int Floor(double v) {
  return TruncSaturated<int>(std::floor(v));
}
int AwayFromZero(double v) {
  return TruncSaturated<int>(v < 0 ? std::floor(v) : std::ceil(v));
}

// The rounded extent of some points.
TPathBounds RoundedBounds(std::initializer_list<std::pair<float, float>> points) {
  float minX = HUGE_VALF, minY = HUGE_VALF, maxX = -HUGE_VALF, maxY = -HUGE_VALF;
  for (const auto& [x, y] : points) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  }
  return {Round(minX), Round(minY), Round(maxX), Round(maxY)};
}

// The length of a segment in whole pixels: the squared length is rounded
// to a whole number before the root, and so is the root (from (0, 0) to
// (1, 1) is 1 long, to (3, 4) 5).
float RoundedDistance(float dx, float dy) {
  const double squared = std::nearbyint(double(dx) * dx + double(dy) * dy);
  return static_cast<float>(std::nearbyint(std::sqrt(squared)));
}

}  // namespace

// --- segments ------------------------------------------------------------------

void TSegmentPathFunction::Calculate() {
  const float f = Fraction(Step());
  const float x0 = C(2, 0), y0 = C(2, 1), x1 = C(2, 2), y1 = C(2, 3);
  Out(0, x0 + (x1 - x0) * f);
  Out(1, y0 + f * (y1 - y0));
}

float TSegmentPathFunction::GetLength() {
  return RoundedDistance(C(2, 2) - C(2, 0), C(2, 3) - C(2, 1));
}

TPathBounds TSegmentPathFunction::GetBounds() {
  return RoundedBounds({{C(2, 0), C(2, 1)}, {C(2, 2), C(2, 3)}});
}

void TAccelerateSegmentPathFunction::Calculate() {
  const float s = static_cast<float>(Step());
  const float x0 = C(2, 0), y0 = C(2, 1), x1 = C(2, 2), y1 = C(2, 3);
  const float v = C(2, 6), a = C(2, 7);
  const float d = s * s * a / 2 + s * v;
  const float length = LengthCell();
  // A segment without length has no direction: the point stays at its start.
  if (length == 0.0f) {
    Out(0, x0);
    Out(1, y0);
    return;
  }
  Out(0, x0 + (x1 - x0) * d / length);
  Out(1, y0 + d * (y1 - y0) / length);
}

// --- arcs ----------------------------------------------------------------------

void TArcPathFunction::PreparePath() {
  const float x0 = C(2, 0), y0 = C(2, 1), x1 = C(2, 2), y1 = C(2, 3), cx = C(2, 6), cy = C(2, 7);
  r0_ = static_cast<float>(std::hypot(double(x0) - cx, double(y0) - cy));
  r1_ = static_cast<float>(std::hypot(double(x1) - cx, double(y1) - cy));
  a0_ = static_cast<float>(std::atan2(double(y0) - cy, double(x0) - cx));
  a1_ = static_cast<float>(std::atan2(double(y1) - cy, double(x1) - cx));
  constexpr float kTurn = static_cast<float>(2 * std::numbers::pi);
  if (TruncSaturated<int>(C(4, 0)) != 0) {
    if (a0_ > a1_) a1_ += kTurn;  // angles increase
  } else if (a0_ < a1_) {
    a0_ += kTurn;  // angles decrease
  }
  const TParamSpace& space = GetParamSpace();
  space.Set(3, 0, r0_);
  space.Set(3, 1, r1_);
  space.Set(3, 2, a0_);
  space.Set(3, 3, a1_);
}

void TArcPathFunction::Calculate() {
  const float f = Fraction(Step());
  const float angle = a0_ + f * (a1_ - a0_);
  const float radius = r0_ + f * (r1_ - r0_);
  Out(0, static_cast<float>(std::cos(angle) * radius + C(2, 6)));
  Out(1, static_cast<float>(std::sin(angle) * radius + C(2, 7)));
}

float TArcPathFunction::GetLength() {
  return std::abs(a0_ - a1_) * r0_;
}

TPathBounds TArcPathFunction::GetBounds() {
  const float x0 = C(2, 0), y0 = C(2, 1), x1 = C(2, 2), y1 = C(2, 3), cx = C(2, 6), cy = C(2, 7);
  double minX = std::min(x0, x1), minY = std::min(y0, y1), maxX = std::max(x0, x1), maxY = std::max(y0, y1);
  // Every multiple of a quarter turn strictly between the two angles.
  const double lo = std::min(a0_, a1_), hi = std::max(a0_, a1_), quarter = std::numbers::pi / 2;
  if (std::isfinite(lo) && std::isfinite(hi) && hi - lo < 8 * std::numbers::pi) {
    for (double k = std::floor(lo / quarter) + 1; k * quarter < hi; ++k) {
      const double x = std::cos(k * quarter) * r0_ + cx, y = std::sin(k * quarter) * r0_ + cy;
      minX = std::min(minX, x);
      minY = std::min(minY, y);
      maxX = std::max(maxX, x);
      maxY = std::max(maxY, y);
    }
  }
  return {Floor(minX), Floor(minY), AwayFromZero(maxX), AwayFromZero(maxY)};
}

// --- cubic curves ----------------------------------------------------------------

void TBezierPathFunction::Calculate() {
  const float f = Fraction(Step());
  const float u = 1 - f;
  const auto at = [&](float p0, float p1, float p2, float p3) {
    return u * u * u * p0 + 3 * f * u * u * p1 + 3 * f * f * u * p2 + f * f * f * p3;
  };
  Out(0, at(C(2, 0), C(2, 6), C(2, 8), C(2, 2)));
  Out(1, at(C(2, 1), C(2, 7), C(2, 9), C(2, 3)));
}

namespace {

struct TFloatPoint {
  float x, y;
};

TFloatPoint Mid(TFloatPoint a, TFloatPoint b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// A piece deeper than this is measured by its chord (a curve folded onto a
// point would be halved for ever).
constexpr int kMaxBezierDepth = 16;

float PieceLength(TFloatPoint p0, TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, int depth) {
  const double cx = double(p3.x) - p0.x, cy = double(p3.y) - p0.y;
  const double chord = std::nearbyint(cx * cx + cy * cy);
  const auto cross = [&](TFloatPoint p) { return cx * (double(p.y) - p0.y) - cy * (double(p.x) - p0.x); };
  const double c1 = cross(p1), c2 = cross(p2);
  if ((c1 * c1 < chord && c2 * c2 < chord) || depth >= kMaxBezierDepth)
    return static_cast<float>(std::sqrt(chord));
  const TFloatPoint a = Mid(p0, p1), b = Mid(p1, p2), c = Mid(p2, p3);
  const TFloatPoint ab = Mid(a, b), bc = Mid(b, c), m = Mid(ab, bc);
  return PieceLength(p0, a, ab, m, depth + 1) + PieceLength(m, bc, c, p3, depth + 1);
}

}  // namespace

float TBezierPathFunction::GetLength() {
  return PieceLength({C(2, 0), C(2, 1)}, {C(2, 6), C(2, 7)}, {C(2, 8), C(2, 9)}, {C(2, 2), C(2, 3)}, 0);
}

TPathBounds TBezierPathFunction::GetBounds() {
  return RoundedBounds({{C(2, 0), C(2, 1)}, {C(2, 6), C(2, 7)}, {C(2, 8), C(2, 9)}, {C(2, 2), C(2, 3)}});
}

// --- chains ----------------------------------------------------------------------

void TComplexPathFunction::Bind(IFunctionOwner* owner) {
  TAbstractPathFunction::Bind(owner);
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Bind(this);
}

void TComplexPathFunction::Unbind() {
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Unbind();
  TAbstractPathFunction::Unbind();
}

void TComplexPathFunction::RunBefore() {
  TAbstractPathFunction::RunBefore();
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Prepare();
}

void TComplexPathFunction::Calculate() {
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Calculate();
}

float TComplexPathFunction::GetLength() {
  float length = 0.0f;
  for (int i = 0; i < PathCount(); ++i)
    if (auto path = PathAt(i)) length += path->GetLength();
  return length;
}

TPathBounds TComplexPathFunction::GetBounds() {
  TPathBounds bounds;
  bool any = false;
  for (int i = 0; i < PathCount(); ++i) {
    auto path = PathAt(i);
    if (!path) continue;
    bounds = any ? UniteBounds(bounds, path->GetBounds()) : path->GetBounds();
    any = true;
  }
  return bounds;
}

void TComplexPathFunction::LoadFromStorage(const StorageRef& storage) {
  TAbstractPathFunction::LoadFromStorage(storage);
  LoadObjectFrom(*functions_, storage, "functions", 0);
}

void TComplexPathFunction::SaveToStorage(const StorageRef& storage) {
  TAbstractPathFunction::SaveToStorage(storage);
  SaveObjectTo(*functions_, storage, "functions");
}

void TCompositePathFunction::Bind(IFunctionOwner* owner) {
  TComplexPathFunction::Bind(owner);
  current_ = 0;
  stepsBefore_ = 0;
  for (int i = 0; i < PathCount(); ++i)
    if (!PathAt(i))
      ReportDataError("function " + GetName(), "sub-function " + std::to_string(i) +
                                                   " of a composite path is no path; it takes no steps");
}

void TCompositePathFunction::RunBefore() {
  TComplexPathFunction::RunBefore();
  int steps = 0;
  for (int i = 0; i < PathCount(); ++i)
    if (auto path = PathAt(i)) steps += path->GetStepCount();
  GetParamSpace().Set(2, 4, static_cast<float>(steps));
}

void TCompositePathFunction::Calculate() {
  const int s = Step();
  const auto stepsOf = [this](int index) {
    auto path = PathAt(index);
    return path ? path->GetStepCount() : 0;
  };
  if (current_ >= PathCount() || s < stepsBefore_) {
    current_ = 0;
    stepsBefore_ = 0;
  }
  // A sub-path covers its steps 0..N inclusive; the next one takes over after.
  while (current_ + 1 < PathCount() && s > stepsBefore_ + stepsOf(current_)) {
    stepsBefore_ += stepsOf(current_);
    ++current_;
  }
  auto path = current_ < PathCount() ? PathAt(current_) : nullptr;
  if (path && s <= stepsBefore_ + path->GetStepCount()) {
    path->SetStep(static_cast<float>(s - stepsBefore_));
    Out(0, path->GetX());
    Out(1, path->GetY());
    return;
  }
  Out(0, C(2, 2));
  Out(1, C(2, 3));
}

}  // namespace qv
