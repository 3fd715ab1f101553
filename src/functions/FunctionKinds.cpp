#include "functions/FunctionKinds.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "core/Random.h"
#include "functions/FloatToInt.h"

namespace qv {

void TRowFunction::Calculate() {
  for (int r = 1; r < Rows(); ++r) {
    float out = 0.0f;
    if (CalculateRow(r, Cols(r), out)) Out(r - 1, out);
  }
}

bool TSumFunction::CalculateRow(int r, int n, float& out) const {
  out = 0.0f;
  for (int c = 0; c < n; ++c) out += C(r, c);
  return true;
}

bool TMultiplyFunction::CalculateRow(int r, int n, float& out) const {
  out = 1.0f;
  for (int c = 0; c < n; ++c) out *= C(r, c);
  return true;
}

bool TSubstrFunction::CalculateRow(int r, int n, float& out) const {
  out = n > 0 ? C(r, 0) : 0.0f;
  for (int c = 1; c < n; ++c) out -= C(r, c);
  return true;
}

bool TDivisionFunction::CalculateRow(int r, int n, float& out) const {
  out = n > 0 ? C(r, 0) : 0.0f;
  for (int c = 1; c < n; ++c) {
    const float d = C(r, c);
    if (d != 0.0f) out /= d;
  }
  return true;
}

bool TPolinom2Function::CalculateRow(int r, int, float& out) const {
  const float x = C(r, 0);
  out = C(r, 1) * (x * x) + C(r, 2) * x + C(r, 3);
  return true;
}

bool TSinFunction::CalculateRow(int r, int n, float& out) const {
  if (n <= 2 || C(r, 2) == 0.0f) return false;
  const double phi = n >= 4 ? C(r, 3) * std::numbers::pi : 0.0;
  out = static_cast<float>(C(r, 0) * std::sin(phi + C(r, 1) * 2.0 * std::numbers::pi / C(r, 2)));
  for (int c = 4; c < n; ++c) out += C(r, c);
  return true;
}

bool TRandomFunction::CalculateRow(int r, int n, float& out) const {
  if (n < 1) {
    out = 0.0f;
    return true;
  }
  out = static_cast<float>(RandomFloat()) * C(r, 0);
  for (int c = 1; c < n; ++c) out += C(r, c);
  return true;
}

bool TIntRandomFunction::CalculateRow(int r, int n, float& out) const {
  if (n < 1) {
    out = 0.0f;
    return true;
  }
  out = static_cast<float>(RandomInt(TruncSaturated<int32_t>(C(r, 0))));
  for (int c = 1; c < n; ++c) out += C(r, c);
  return true;
}

bool TSwitchFunction::CalculateRow(int r, int n, float& out) const {
  if (n <= 4) return false;
  const float a = C(r, 0), b = C(r, 1);
  out = a == b ? C(r, 3) : a > b ? C(r, 4) : C(r, 2);
  return true;
}

bool TLinearSegmentFunction::CalculateRow(int r, int n, float& out) const {
  if (n <= 3) return false;
  const float c3 = C(r, 3);
  out = c3 != 0.0f ? C(r, 0) + (C(r, 1) - C(r, 0)) * C(r, 2) / c3 : C(r, 1);
  return true;
}

void TArithmeticFunction::Calculate() {
  const int outputs = (Rows() - 2) / 2 + 1;
  for (int k = 0; k < outputs; ++k) {
    const int valuesRow = 2 * k + 1, opsRow = 2 * k + 2;
    if (valuesRow >= Rows()) break;
    const int count = Cols(valuesRow);
    float v = C(valuesRow, 0);
    for (int j = 1; j < count; ++j) {
      const float x = C(valuesRow, j);
      switch (TruncSaturated<long long>(C(opsRow, j - 1))) {
        case 0:
          v += x;
          break;
        case 1:
          v -= x;
          break;
        case 2:
          v *= x;
          break;
        case 3:
          v /= x;
          break;  // unchecked: a zero divisor gives infinity
        case 4:
          v = v > x ? v : x;
          break;
        case 5:
          v = v < x ? v : x;
          break;
        case 6:
        case 7: {
          const long long a = TruncSaturated<long long>(v), b = TruncSaturated<long long>(x);
          if (b == 0 || (a == LLONG_MIN && b == -1)) break;
          v = static_cast<float>(TruncSaturated<long long>(C(opsRow, j - 1)) == 6 ? a % b : a / b);
          break;
        }
        default:
          break;
      }
    }
    Out(k, v);
  }
}

void TIntervalFunction::Calculate() {
  for (int i = 0; i < Cols(1); ++i) {
    const int thresholdsRow = 2 * i + 2, valuesRow = 2 * i + 3;
    float out = 0.0f;
    if (valuesRow < Rows()) {
      const float input = C(1, i);
      const int m = Cols(thresholdsRow);
      int k = 0;
      while (k < m - 1 && !(input <= C(thresholdsRow, k))) ++k;
      out = m > 0 ? C(valuesRow, k) : 0.0f;
    }
    Out(i, out);
  }
}

void TPiecewiseLinearInterpolationFunction::Calculate() {
  const float x = C(1, 0);
  const int outputs = (Rows() - 2) / 2;
  for (int i = 0; i < outputs; ++i) {
    const int xs = 2 * i + 2, ys = 2 * i + 3;
    const int m = Cols(xs);
    if (m == 0) continue;
    // Below every x the result stays the last y.
    float out = C(ys, m - 1);
    if (x < C(xs, m - 1)) {
      for (int k = m - 2; k >= 0; --k) {
        const float x0 = C(xs, k);
        if (x >= x0) {
          const float x1 = C(xs, k + 1), y0 = C(ys, k), y1 = C(ys, k + 1);
          out = y0 + (y1 - y0) * (x - x0) / (x1 - x0);
          break;
        }
      }
    }
    Out(i, out);
  }
}

void TMonteCarloFunction::Calculate() {
  Out(0, 0.0f);
  const Ref<IPixelSource> image = ResolveImage(C(1, 0));
  if (!image || image->GetWidth() <= 0 || image->GetHeight() <= 0) return;
  const float threshold = Cols(1) > 1 ? C(1, 1) : 1.0f;
  // At most a million tries; NaN or a negative count tries nothing.
  const long long tries =
      Cols(1) > 2 ? std::min(TruncSaturated<long long>(std::nearbyint(C(1, 2))), 1000000LL) : 1;
  for (long long t = 0; t < tries; ++t) {
    const int x = RandomInt(image->GetWidth());
    const int y = RandomInt(image->GetHeight());
    const uint32_t pixel = image->GetPixel(x, y);
    const float alpha = static_cast<float>(pixel >> 24);
    if (alpha < threshold) continue;
    const float values[] = {1.0f,
                            float(x),
                            float(y),
                            float((pixel >> 16) & 0xFF),
                            float((pixel >> 8) & 0xFF),
                            float(pixel & 0xFF),
                            alpha};
    for (int i = 0; i < 7 && i < GetOutputCount(); ++i) Out(i, values[i]);
    return;
  }
}

}  // namespace qv
