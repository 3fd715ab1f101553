// The simple "function_" kinds. Unless stated otherwise each row r >= 1
// computes output r - 1 (row 0, column r - 1) from its cells c0 .. cn-1;
// arithmetic is in 32-bit floats. Cells outside a row read as 0.
#pragma once

#include "functions/Function.h"

namespace qv {

class TRowFunction : public TFunction {
protected:
  ~TRowFunction() override = default;

public:
  void Calculate() override;

protected:
  // Computes the output of row r (n cells); false leaves the output as it was.
  virtual bool CalculateRow(int r, int n, float& out) const = 0;
};

// "function_sum": c0 + c1 + ... (0 for an empty row).
class TSumFunction : public TRowFunction {
protected:
  ~TSumFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_multiply": c0 * c1 * ... (1 for an empty row).
class TMultiplyFunction : public TRowFunction {
protected:
  ~TMultiplyFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_substr": c0 - c1 - c2 ... (0 for an empty row).
class TSubstrFunction : public TRowFunction {
protected:
  ~TSubstrFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_division": c0 / c1 / c2 ..., zero divisors skipped.
class TDivisionFunction : public TRowFunction {
protected:
  ~TDivisionFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_polinom2": c1*c0^2 + c2*c0 + c3.
class TPolinom2Function : public TRowFunction {
protected:
  ~TPolinom2Function() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_sin": c0*sin(phi + c1*2pi/c2) + c4 + c5 + ..., phi = c3*pi;
// only when n > 2 and c2 != 0.
class TSinFunction : public TRowFunction {
protected:
  ~TSinFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_random": u*c0 + c1 + c2 + ..., u uniform in [0, 1).
class TRandomFunction : public TRowFunction {
protected:
  ~TRandomFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_int_random": k + c1 + c2 + ..., k uniform in 0 .. trunc(c0) - 1.
class TIntRandomFunction : public TRowFunction {
protected:
  ~TIntRandomFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_switch": c2 when c0 < c1, c3 when equal, c4 when greater (n > 4).
class TSwitchFunction : public TRowFunction {
protected:
  ~TSwitchFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};
// "function_linear_segment": c0 + (c1 - c0)*c2/c3, or c1 when c3 = 0 (n > 3).
class TLinearSegmentFunction : public TRowFunction {
protected:
  ~TLinearSegmentFunction() override = default;

private:
  bool CalculateRow(int r, int n, float& out) const override;
};

// "function_arithmetic": pairs of rows after row 0 (values, operation
// codes); output k folds the values of pair k with the codes 0 add,
// 1 subtract, 2 multiply, 3 divide, 4 maximum, 5 minimum, 6 remainder and
// 7 integer quotient (both truncated; a zero divisor leaves the value).
class TArithmeticFunction : public TFunction {
protected:
  ~TArithmeticFunction() override = default;

public:
  void Calculate() override;
};

// "function_interval": input i (row 1, column i) picks a value of row
// 2i + 3 by the thresholds of row 2i + 2.
class TIntervalFunction : public TFunction {
protected:
  ~TIntervalFunction() override = default;

public:
  void Calculate() override;
};

// "function_piecewise": x (row 1, column 0) interpolated in the x-row
// 2i + 2 / y-row 2i + 3 pairs.
class TPiecewiseLinearInterpolationFunction : public TFunction {
protected:
  ~TPiecewiseLinearInterpolationFunction() override = default;

public:
  void Calculate() override;
};

// "function_montecarlo": samples random pixels of an image until one is
// opaque enough; outputs found, x, y, red, green, blue, alpha.
class TMonteCarloFunction : public TFunction {
protected:
  ~TMonteCarloFunction() override = default;

public:
  void Calculate() override;
};

}  // namespace qv
