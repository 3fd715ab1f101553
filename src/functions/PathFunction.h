// Path functions: a step number in, a point out. Widgets and particles move
// along segments, accelerated segments, arcs, cubic curves and chains of
// these.
//
// Cells shared by every path:
//   row 0: outputs, column 0 = x, column 1 = y;
//   row 1, column 0: the step (input);
//   row 2: the geometry of the kind; column 4 = the number of steps N,
//          column 5 = the length, written by Prepare.
// The step s is trunc(row 1, column 0), taken modulo N with "loop"; the
// fraction of the way is f = s / N (0 while N is 0).
#pragma once

#include "functions/Function.h"

namespace qv {

// A path's extent in whole pixels (right and bottom are the rounded maxima,
// so a point on them belongs to the path).
struct TPathBounds {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const TPathBounds&, const TPathBounds&) = default;
};

// The smallest bounds holding both.
TPathBounds UniteBounds(const TPathBounds& a, const TPathBounds& b);

class IPathFunction : public virtual IFunction {
protected:
  ~IPathFunction() override = default;

public:
  // trunc(row 2, column 4).
  virtual int GetStepCount() const = 0;
  virtual float GetLength() = 0;
  virtual TPathBounds GetBounds() = 0;
  virtual float GetX() const = 0;
  virtual float GetY() const = 0;
  // Stores the step into row 1, column 0 and calculates.
  virtual void SetStep(float step) = 0;
};

class TAbstractPathFunction : public TFunction, public IPathFunction {
protected:
  ~TAbstractPathFunction() override = default;

public:
  // "loop": written when true.
  QV_PROPERTY_TABLE(TAbstractPathFunction)

  bool IsLoop() const { return loop_; }
  void SetLoop(bool value) { loop_ = value; }

  // The function's own preparation, then the kind's, then the length into
  // row 2, column 5.
  void Prepare() override;

  // IPathFunction
  int GetStepCount() const override;
  float GetLength() override { return 0.0f; }
  TPathBounds GetBounds() override { return {}; }
  float GetX() const override { return GetOutput(0); }
  float GetY() const override { return GetOutput(1); }
  void SetStep(float step) override;

protected:
  // What the kind computes once per preparation (after the functions).
  virtual void PreparePath() {}
  // The step of the input cell: truncated, modulo N with "loop".
  int Step() const;
  // s / N as a 32-bit float; 0 while N is 0.
  float Fraction(int step) const;
  // The length cell when the layout has one, else the computed length.
  float LengthCell();

private:
  bool loop_ = false;
};

}  // namespace qv
