// The path kinds. Row 2 holds each kind's geometry (columns 4 and 5 are the
// step count and the length, as for every path).
#pragma once

#include "functions/PathFunction.h"

namespace qv {

// "path_segment", row 2: x0, y0, x1, y1, N, length. The point moves
// linearly; the length is the rounded square root of the rounded squared
// length.
class TSegmentPathFunction : public TAbstractPathFunction {
protected:
  ~TSegmentPathFunction() override = default;

public:
  void Calculate() override;
  float GetLength() override;
  // The rounded minima and maxima of the two end points.
  TPathBounds GetBounds() override;
};

// "path_segment_accelerate", row 2: x0, y0, x1, y1, N, length, v, a. After
// s steps the point has gone d = s*s*a/2 + s*v along the segment (nothing
// stops it at the end).
class TAccelerateSegmentPathFunction : public TSegmentPathFunction {
protected:
  ~TAccelerateSegmentPathFunction() override = default;

public:
  void Calculate() override;
};

// "path_arc", row 2: start x0, y0, end x1, y1, N, length, centre cx, cy;
// row 4, column 0: the direction (0: angles decrease, otherwise they
// increase). Prepare writes row 3: r0, r1, a0, a1 (radii and angles of
// the start and end around the centre).
class TArcPathFunction : public TAbstractPathFunction {
protected:
  ~TArcPathFunction() override = default;

public:
  void Calculate() override;
  // |a0 - a1| * r0 (of the last preparation).
  float GetLength() override;
  // The end points, widened by every quarter turn the arc passes.
  TPathBounds GetBounds() override;

protected:
  void PreparePath() override;

private:
  float r0_ = 0.0f, r1_ = 0.0f, a0_ = 0.0f, a1_ = 0.0f;
};

// "path_bezier", row 2: P0 = (x0, y0), P3 = (x3, y3), N, length, P1 in
// columns 6-7, P2 in columns 8-9.
class TBezierPathFunction : public TAbstractPathFunction {
protected:
  ~TBezierPathFunction() override = default;

public:
  void Calculate() override;
  // Halves the curve until each piece's inner control points lie within 1
  // of its chord, and sums the chords.
  float GetLength() override;
  // The rounded extent of the four control points (the curve lies inside).
  TPathBounds GetBounds() override;
};

// Paths made of sub-functions ("functions" child), bound with the path as
// owner. The length sums and the bounds unite those of the sub-paths.
class TComplexPathFunction : public TAbstractPathFunction {
protected:
  ~TComplexPathFunction() override = default;

public:
  void Bind(IFunctionOwner* owner) override;
  void Unbind() override;
  // The function's own before function, then every sub-function prepared.
  void RunBefore() override;
  // Every sub-function in order.
  void Calculate() override;
  TFunctionCollection* GetSubFunctions() override { return functions_.get(); }
  float GetLength() override;
  TPathBounds GetBounds() override;

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

protected:
  int PathCount() const { return functions_->Count(); }
  // The sub-function at that index as a path, or nullptr.
  Ref<IPathFunction> PathAt(int index) const { return Query<IPathFunction>(functions_->Item(index)); }

private:
  Ref<TFunctionCollection> functions_ = MakeRef<TFunctionCollection>();
};

// "path_composite": the sub-paths played one after another. N is the sum of
// their step counts; past the last one the point is the composite's own end
// point (row 2, columns 2 and 3).
class TCompositePathFunction : public TComplexPathFunction {
protected:
  ~TCompositePathFunction() override = default;

public:
  void Bind(IFunctionOwner* owner) override;
  // Also sets N to the sum of the sub-paths' step counts.
  void RunBefore() override;
  void Calculate() override;

private:
  // The current sub-path and the steps of the sub-paths before it.
  int current_ = 0;
  int stepsBefore_ = 0;
};

// "path_arbitrary": every sub-function calculated in order; they write the
// outputs through their links.
class TArbitraryPathFunction : public TComplexPathFunction {
protected:
  ~TArbitraryPathFunction() override = default;
};

}  // namespace qv
