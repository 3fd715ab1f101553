// The children of a group: z order, the owner they share, and the frame
// passes (time, dead widgets, dirty rectangles).
#pragma once

#include <unordered_map>
#include <utility>
#include <vector>

#include "widgets/SimpleWidgetCollection.h"

namespace qv {

class TWidgetCollection : public TSimpleWidgetCollection, public IWidgetCollection {
public:
  bool IsSortedByZ() const override { return sortedByZ_; }
  void SetSortedByZ(bool value) override { sortedByZ_ = value; }
  void SortByZ() override;
  void InsertWidget(const Ref<IWidget>& widget) override;
  void DeleteWidget(int index) override;
  void DeleteWidget(const std::string& name) override { DeleteWidget(IndexOf(name)); }
  void AdvanceAll(int dt) override;
  void RemoveDead() override;
  void SetPropertyOnAll(const std::string& name, const TVariant& value) override;
  void UpdateDirtyRegions(bool forceOld, bool forceNew) override;
  void SetOwner(IWidgetOwner* owner) override;
  IWidgetOwner* GetOwner() const override { return owner_; }
  void DetachAll() override;
  bool IsChanged() const override { return changed_; }
  bool IsIterating() const { return iterating_; }

  // Loaded widgets are inserted (z order, owner) like any other.
  void AddItem(const Ref<IInterface>& item) override;
  void Delete(int index) override { DeleteWidget(index); }
  void Delete(std::string_view key) override { DeleteWidget(IndexOf(key)); }
  // Deletes from the last widget to the first.
  void Clear() override;

protected:
  ~TWidgetCollection() override = default;

private:
  // The position an insertion by z gives: after the last widget of lower
  // or equal z.
  int ZPosition(int z) const;
  void Forget(const Ref<IWidget>& widget) { placedZ_.erase(widget.get()); }
  // After SortByZ has settled the order it remembers each widget with its
  // z; while no widget came or went (which clears the list) and no z
  // changed, the next SortByZ has nothing to do and touches no map.
  bool StillSettled() const;
  void RememberSettled();

  // The z each widget had when it was last placed: a widget whose z has
  // changed since is the one SortByZ moves.
  std::unordered_map<const IWidget*, int> placedZ_;
  std::vector<std::pair<const IWidget*, int>> settled_;
  bool sortedByZ_ = true;
  IWidgetOwner* owner_ = nullptr;
  bool changed_ = false;
  bool iterating_ = false;
  bool modifiedDuringPass_ = false;
};

}  // namespace qv
