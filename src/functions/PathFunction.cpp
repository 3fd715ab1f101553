#include "functions/PathFunction.h"

#include <algorithm>

#include "functions/FloatToInt.h"

namespace qv {

TPathBounds UniteBounds(const TPathBounds& a, const TPathBounds& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

const TPropertyTable<TAbstractPathFunction>& TAbstractPathFunction::Properties() {
  using F = TAbstractPathFunction;
  static const TPropertyTable<F> table =
      TPropertyTable<F>(TFunction::Properties()).Bool("loop", &F::loop_).WhenTrue();
  return table;
}

void TAbstractPathFunction::Prepare() {
  TFunction::Prepare();
  PreparePath();
  GetParamSpace().Set(2, 5, GetLength());
}

int TAbstractPathFunction::GetStepCount() const {
  return TruncSaturated<int>(C(2, 4));
}

void TAbstractPathFunction::SetStep(float step) {
  SetInput(0, step);
  Calculate();
}

int TAbstractPathFunction::Step() const {
  int s = TruncSaturated<int>(C(1, 0));
  const int n = GetStepCount();
  if (loop_ && n > 0) s %= n;
  return s;
}

float TAbstractPathFunction::Fraction(int step) const {
  const int n = GetStepCount();
  return n != 0 ? static_cast<float>(step) / static_cast<float>(n) : 0.0f;
}

float TAbstractPathFunction::LengthCell() {
  return Cols(2) > 5 ? C(2, 5) : GetLength();
}

}  // namespace qv
