#include "screens/ScreenSupport.h"

#include "core/StringUtils.h"
#include "widgets/IWidget.h"
#include "widgets/IWindow.h"

namespace qv {

Ref<TParamCollection> MakeParams(std::initializer_list<std::pair<const char*, std::string>> pairs) {
  Ref<TParamCollection> params = MakeRef<TParamCollection>();
  params->Initialize();
  for (const auto& [name, value] : pairs) params->SetParamValue(name, value);
  return params;
}

bool ParamText(IParamCollection* params, const std::string& name, std::string& value) {
  if (!params) return false;
  const Ref<IParam> param = params->GetParam(name);
  if (!param) return false;
  value = VarToString(param->GetValue());
  return true;
}

bool ParamInt(IParamCollection* params, const std::string& name, long long& value) {
  std::string text;
  long long number = 0;
  if (!ParamText(params, name, text) || !TryParseInt(Trim(text), number)) return false;
  value = number;
  return true;
}

bool SetWidgetProperty(IWindow& window, const std::string& path, const std::string& property,
                       const TVariant& value) {
  const Ref<IWidget> widget = window.FindWidget(path);
  return widget && widget->SetPropertyValue(property, value);
}

std::string WidgetPropertyText(IWindow& window, const std::string& path, const std::string& property) {
  const Ref<IWidget> widget = window.FindWidget(path);
  return widget ? VarToString(widget->GetPropertyValue(property)) : std::string();
}

}  // namespace qv
