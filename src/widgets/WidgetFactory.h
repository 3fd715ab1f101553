// A named template from which widgets are made while the game runs
// (effects, flying artefacts, list rows): the XML text of one widget
// element, with "%name%" macros filled from the caller's parameters before
// parsing, or parameters copied into properties after creation.
#pragma once

#include <string>

#include "core/Ref.h"
#include "storage/HierStorage.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"
#include "widgets/IWidget.h"

namespace qv {

class IWidgetFactory : public virtual IInterface {
protected:
  ~IWidgetFactory() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual const std::string& GetWidgetString() const = 0;
  virtual void SetWidgetString(const std::string& text) = 0;
  // The widget string with every "%name%" of each parameter (in collection
  // order, names case-sensitive) replaced by its value as text; later
  // parameters also see what earlier ones inserted. Unchanged without params.
  virtual std::string ExpandMacros(const IParamCollection* params) const = 0;
  // A new, detached widget that is not saved with the collection that later
  // holds it; empty (and reported) when the template gives none. params may
  // be null.
  virtual Ref<IWidget> CreateWidget(const IParamCollection* params) = 0;
};

// "widgetstring" (child element, its content as XML text), "usemacros"
// (default yes) and "redefinedparams" (property = parameter pairs, used only
// without macros). Without macros the widget string is parsed once and the
// node is shared by every widget made from it, until the string changes.
class TWidgetFactory : public TPersistObject, public IWidgetFactory {
public:
  TWidgetFactory() { SetStorageName("widgetfactory"); }

  QV_PROPERTY_TABLE(TWidgetFactory)

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  const std::string& GetName() const override { return TPersistObject::GetName(); }
  void SetName(const std::string& name) override { TPersistObject::SetName(name); }
  const std::string& GetWidgetString() const override { return widgetString_; }
  // A different text drops the parsed template.
  void SetWidgetString(const std::string& text) override;
  std::string ExpandMacros(const IParamCollection* params) const override;
  Ref<IWidget> CreateWidget(const IParamCollection* params) override;

  bool GetUseMacros() const { return useMacros_; }
  void SetUseMacros(bool value) { useMacros_ = value; }
  const std::string& GetRedefinedParams() const { return redefinedParams_; }
  void SetRedefinedParams(const std::string& value) { redefinedParams_ = value; }
  // How often the macro-free template was parsed (once per widget string).
  int TemplateParses() const { return templateParses_; }

protected:
  ~TWidgetFactory() override = default;

private:
  std::string Where() const { return "widget factory " + GetName(); }
  // The parsed widget string of a macro-free factory; a string that does not
  // parse is reported once and not parsed again until it changes.
  StorageRef Template();
  Ref<IWidget> CreateFromTemplate(const StorageRef& node);
  void ApplyRedefinedParams(IWidget& widget, const IParamCollection& params) const;

  std::string widgetString_;
  bool useMacros_ = true;
  std::string redefinedParams_;
  StorageRef template_;
  bool templateFailed_ = false;
  int templateParses_ = 0;
};

}  // namespace qv
