#include "screens/CursorCollection.h"

#include "core/Trace.h"
#include "storage/StorageAccess.h"
#include "widgets/IWidget.h"

namespace qv {

void TCursorCollection::LoadFromStorage(const StorageRef& storage) {
  TStaticCreationPersistItemCollection<TCursor>::LoadFromStorage(storage);
  defaultCursorName_ = ReadString(storage, "default_cursor_name", "");
}

void TCursorCollection::SaveToStorage(const StorageRef& storage) {
  TStaticCreationPersistItemCollection<TCursor>::SaveToStorage(storage);
  if (storage) storage->WriteAttr("default_cursor_name", defaultCursorName_);
}

void TCursorCollection::Add(const Ref<ICursor>& cursor) {
  if (cursor) AddByName(cursor);
}

bool TCursorCollection::SetCurrentCursor(const std::string& name) {
  const Ref<ICursor> cursor = GetItem(name);
  if (!cursor) return false;
  const bool changed = cursor != current_;
  if (current_)
    if (const Ref<IWidget> old = current_->GetWidget()) {
      old->SetVisible(false);
      old->UpdateDirtyRegion(false, false);
    }
  current_ = cursor;
  if (const Ref<IWidget> widget = cursor->GetWidget()) widget->SetVisible(true);
  if (changed && TTrace::On()) TTrace::Emit("cursor", {{"name", TTrace::Text(cursor->GetName())}});
  return true;
}

std::string TCursorCollection::GetDefaultCursorName() {
  if (!defaultCursorName_.empty() && GetItem(defaultCursorName_)) return defaultCursorName_;
  if (const Ref<ICursor> first = GetItem(0)) return first->GetName();
  return {};
}

}  // namespace qv
