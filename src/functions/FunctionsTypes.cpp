#include "functions/FunctionsTypes.h"

#include "core/Diagnostics.h"
#include "functions/EvalFunction.h"
#include "functions/Function.h"
#include "functions/FunctionKinds.h"
#include "functions/PathKinds.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"

namespace qv {

void RegisterFunctionsTypes() {
  RegisterClass<TComplexFunction>("function_complex");
  RegisterClass<TFuncSelectorFunction>("function_selector");
  RegisterClass<TFuncSelectorFunction>("function_selector_func");
  RegisterClass<TConstSelectorFunction>("function_selector_const");
  RegisterClass<TSinFunction>("function_sin");
  RegisterClass<TPolinom2Function>("function_polinom2");
  RegisterClass<TSumFunction>("function_sum");
  RegisterClass<TSubstrFunction>("function_substr");
  RegisterClass<TMultiplyFunction>("function_multiply");
  RegisterClass<TDivisionFunction>("function_division");
  RegisterClass<TArithmeticFunction>("function_arithmetic");
  RegisterClass<TEvalFunction>("function_eval");
  RegisterClass<TRandomFunction>("function_random");
  RegisterClass<TIntRandomFunction>("function_int_random");
  RegisterClass<TSwitchFunction>("function_switch");
  RegisterClass<TIntervalFunction>("function_interval");
  RegisterClass<TPiecewiseLinearInterpolationFunction>("function_piecewise");
  RegisterClass<TLinearSegmentFunction>("function_linear_segment");
  RegisterClass<TMonteCarloFunction>("function_montecarlo");
  RegisterClass<TSegmentPathFunction>("path_segment");
  RegisterClass<TAccelerateSegmentPathFunction>("path_segment_accelerate");
  RegisterClass<TArcPathFunction>("path_arc");
  RegisterClass<TBezierPathFunction>("path_bezier");
  RegisterClass<TCompositePathFunction>("path_composite");
  RegisterClass<TArbitraryPathFunction>("path_arbitrary");
}

Ref<IFunction> CreateFunctionOfType(const StorageRef& storage) {
  if (!storage) return nullptr;
  const std::string type = ReadString(storage, "type", "");
  const std::string name = ReadString(storage, "name", "");
  Ref<IFunction> function = Query<IFunction>(CreateFromType(type, name));
  if (!function) {
    ReportDataError(storage->GetNodeName() + (name.empty() ? "" : " \"" + name + "\""),
                    "unknown function kind \"" + type + "\"; the function is left out");
  }
  return function;
}

}  // namespace qv
