// The widget factories of a group, found by index or by name (names ignore
// case; the first of a name wins).
#pragma once

#include <string>

#include "storage/Collections.h"
#include "widgets/WidgetFactory.h"

namespace qv {

class IWidgetFactoryCollection : public virtual IInterface {
protected:
  ~IWidgetFactoryCollection() override = default;

public:
  virtual int GetFactoryCount() const = 0;
  virtual Ref<IWidgetFactory> GetFactory(int index) const = 0;
  // Empty when no factory has that name.
  virtual Ref<IWidgetFactory> GetFactoryByName(const std::string& name) const = 0;
};

// Element "widgetfactories", items "widgetfactory" created by their "type"
// ("WidgetFactory").
class TWidgetFactoryCollection : public TTypedCreationPersistItemCollection, public IWidgetFactoryCollection {
public:
  TWidgetFactoryCollection() {
    SetStorageName("widgetfactories");
    SetItemElementName("widgetfactory");
  }

  int GetFactoryCount() const override { return Count(); }
  Ref<IWidgetFactory> GetFactory(int index) const override { return ItemAs<IWidgetFactory>(index); }
  Ref<IWidgetFactory> GetFactoryByName(const std::string& name) const override {
    return ItemAs<IWidgetFactory>(std::string_view(name));
  }
  // Keyed by its name; a name already taken is reported and the factory
  // dropped (false).
  bool AddFactory(const Ref<IWidgetFactory>& factory) { return AddByName(factory); }

  // A loaded item that is not a widget factory is reported and dropped.
  void AddItem(const Ref<IInterface>& item) override;

protected:
  ~TWidgetFactoryCollection() override = default;
};

}  // namespace qv
