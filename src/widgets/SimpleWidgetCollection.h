// Widgets by index or name, created from their "type" when loaded.
#pragma once

#include <utility>
#include <vector>

#include "storage/Collections.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

class TSimpleWidgetCollection : public TTypedCreationPersistItemCollection,
                                public virtual ISimpleWidgetCollection {
public:
  TSimpleWidgetCollection() {
    SetStorageName("widgets");
    SetItemElementName("widget");
  }

  int GetCount() const override { return Count(); }
  int IndexOfName(const std::string& name) const override { return IndexOf(name); }
  // Every frame pass reads each child through this, so the widget face of
  // an item is found once and remembered beside it (see faces_).
  Ref<IWidget> GetWidget(int index) const override { return Ref<IWidget>(Face(index)); }
  // The same without a reference taken: the frame passes walk every child
  // several times a frame, so the remembered face is checked inline.
  IWidget* Face(int index) const {
    const TInterfaceCollection& items = Items();
    if (index >= 0 && faces_.size() == static_cast<size_t>(items.Count()) && index < items.Count()) {
      const auto& face = faces_[static_cast<size_t>(index)];
      if (face.first == items.At(index)) return face.second;
    }
    return FindFace(index);
  }
  Ref<IWidget> GetWidgetByName(const std::string& name) const override {
    return ItemAs<IWidget>(std::string_view(name));
  }
  Ref<IWidget> GetWidgetByKey(const std::string& key) const override;

  // A loaded item that is not a widget is reported and dropped.
  void AddItem(const Ref<IInterface>& item) override;

protected:
  ~TSimpleWidgetCollection() override = default;

  // Face when the item at the index is not the one remembered (or the
  // collection changed its size): casts and remembers it.
  IWidget* FindFace(int index) const;

  // Stores at `pos` (-1 appends) under the widget's name, or under a
  // generated key when the name is empty or taken (lookups find the first).
  void Place(int pos, const Ref<IWidget>& widget);

private:
  // Per index: the item last seen there (held, so its address cannot be
  // reused by another object while remembered) and its widget face. An
  // access casts only when the item at the index is not the one remembered.
  mutable std::vector<std::pair<Ref<IInterface>, IWidget*>> faces_;
};

}  // namespace qv
