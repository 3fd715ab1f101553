// The children of a group: widgets by index or name, with z order, the
// owner they share and the frame passes over them.
#pragma once

#include <string>

#include "core/Ref.h"
#include "core/Variant.h"

namespace qv {

class IWidget;
class IWidgetOwner;

class ISimpleWidgetCollection : public virtual IInterface {
protected:
  ~ISimpleWidgetCollection() override = default;

public:
  virtual int GetCount() const = 0;
  // -1 when no widget has that name (names ignore case).
  virtual int IndexOfName(const std::string& name) const = 0;
  virtual Ref<IWidget> GetWidget(int index) const = 0;
  virtual Ref<IWidget> GetWidgetByName(const std::string& name) const = 0;
  // A decimal text is an index, anything else a name.
  virtual Ref<IWidget> GetWidgetByKey(const std::string& key) const = 0;
};

class IWidgetCollection : public virtual ISimpleWidgetCollection {
protected:
  ~IWidgetCollection() override = default;

public:
  virtual bool IsSortedByZ() const = 0;
  virtual void SetSortedByZ(bool value) = 0;
  virtual void SortByZ() = 0;
  // Places the widget by z (after every widget of lower or equal z) and
  // gives it the collection's owner.
  virtual void InsertWidget(const Ref<IWidget>& widget) = 0;
  virtual void DeleteWidget(int index) = 0;
  virtual void DeleteWidget(const std::string& name) = 0;
  virtual void AdvanceAll(int dt) = 0;
  virtual void RemoveDead() = 0;
  virtual void SetPropertyOnAll(const std::string& name, const TVariant& value) = 0;
  virtual void UpdateDirtyRegions(bool forceOld, bool forceNew) = 0;
  virtual void SetOwner(IWidgetOwner* owner) = 0;
  virtual IWidgetOwner* GetOwner() const = 0;
  virtual void DetachAll() = 0;
  // Something was added, removed or repainted in this frame.
  virtual bool IsChanged() const = 0;
};

}  // namespace qv
