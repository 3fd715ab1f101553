#include "widgets/WidgetFactory.h"

#include <stdexcept>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"
#include "storage/Params.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

const TPropertyTable<TWidgetFactory>& TWidgetFactory::Properties() {
  using F = TWidgetFactory;
  static const TPropertyTable<F> table = TPropertyTable<F>(TPersistObject::Properties())
                                             .Bool("usemacros", &F::useMacros_, true)
                                             .String("redefinedparams", &F::redefinedParams_);
  return table;
}

void TWidgetFactory::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (!storage) return;
  SetWidgetString(storage->ReadChildValue("widgetstring").value_or(std::string()));
}

void TWidgetFactory::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (storage && !widgetString_.empty()) storage->WriteChildValue("widgetstring", widgetString_);
}

void TWidgetFactory::SetWidgetString(const std::string& text) {
  if (text == widgetString_) return;
  widgetString_ = text;
  template_ = nullptr;
  templateFailed_ = false;
}

std::string TWidgetFactory::ExpandMacros(const IParamCollection* params) const {
  std::string result = widgetString_;
  if (!params) return result;
  for (int i = 0; i < params->GetParamCount(); ++i) {
    const Ref<IParam> param = params->GetParamAt(i);
    // "%%" is no macro: a parameter without a name replaces nothing.
    if (!param || param->GetName().empty()) continue;
    result = ReplaceAll(std::move(result), "%" + param->GetName() + "%", VarToString(param->GetValue()));
  }
  return result;
}

StorageRef TWidgetFactory::Template() {
  if (template_ || templateFailed_) return template_;
  ++templateParses_;
  template_ = LoadStorageText(widgetString_);
  if (!template_) {
    templateFailed_ = true;
    ReportDataError(Where(), widgetString_.empty() ? "the widget string is empty; no widget is made"
                                                   : "the widget string does not parse; no widget is made");
  }
  return template_;
}

Ref<IWidget> TWidgetFactory::CreateWidget(const IParamCollection* params) {
  StorageRef node;
  if (useMacros_) {
    const std::string text = ExpandMacros(params);
    node = LoadStorageText(text);
    if (!node)
      ReportDataError(Where(), text.empty() ? "the widget string is empty; no widget is made"
                                            : "the expanded widget string does not parse; no widget is made");
  } else {
    node = Template();
  }
  if (!node) return nullptr;
  const Ref<IWidget> widget = CreateFromTemplate(node);
  if (!widget) return nullptr;
  if (!useMacros_ && params) ApplyRedefinedParams(*widget, *params);
  // Made at run time: never written when the collection holding it is saved.
  if (auto* persistent = QueryPtr<IPersistentEx>(widget.get())) persistent->SetStored(false);
  return widget;
}

Ref<IWidget> TWidgetFactory::CreateFromTemplate(const StorageRef& node) {
  const std::string type = ReadString(node, "type", "");
  try {
    const Ref<TAbstractObject> object = CreateFromType(type, ReadString(node, "name", ""));
    if (!object) {
      ReportUnknownType(Where(), type);
      return nullptr;
    }
    const Ref<IWidget> widget = Query<IWidget>(object);
    if (!widget) {
      ReportDataError(Where(), "type \"" + type + "\" is not a widget; no widget is made");
      return nullptr;
    }
    if (auto* persistent = QueryPtr<IPersistent>(object.get())) persistent->Load(node);
    return widget;
  } catch (const std::runtime_error& e) {
    ReportDataError(Where(), std::string("making the widget failed (") + e.what() + "); no widget is made");
    return nullptr;
  }
}

void TWidgetFactory::ApplyRedefinedParams(IWidget& widget, const IParamCollection& params) const {
  if (redefinedParams_.empty()) return;
  for (const TParamPair& pair : ParseParams(redefinedParams_)) {
    try {
      // A parameter the caller did not pass leaves the template's value.
      const TVariant value = params.GetParamValueDef(pair.value, TVariant());
      if (VarIsEmpty(value)) continue;
      if (!widget.SetPropertyValue(pair.name, value))
        ReportDataError(Where() + " redefinedparams", "\"" + pair.name + "\" is not a writable property");
    } catch (const std::runtime_error& e) {
      ReportDataError(Where() + " redefinedparams", pair.name + "=" + pair.value + ": " + e.what());
    }
  }
}

}  // namespace qv
