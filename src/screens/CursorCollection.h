// The game's mouse cursors (element "cursors", items "cursor"), one of
// them current: its widget is the one shown at the pointer.
#pragma once

#include <string>

#include "screens/Cursor.h"
#include "screens/ICursorCollection.h"
#include "storage/Collections.h"

namespace qv {

class TCursorCollection : public TStaticCreationPersistItemCollection<TCursor>, public ICursorCollection {
public:
  TCursorCollection() {
    SetStorageName("cursors");
    SetItemElementName("cursor");
  }

  // "default_cursor_name", always written.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  int GetCount() const override { return Count(); }
  Ref<ICursor> GetItem(int index) override { return ItemAs<ICursor>(index); }
  Ref<ICursor> GetItem(const std::string& name) override { return ItemAs<ICursor>(std::string_view(name)); }
  // Keyed by name; a second cursor of a name is dropped and reported.
  void Add(const Ref<ICursor>& cursor) override;
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
  Ref<ICursor> GetCurrentCursor() override { return current_; }
  // The current cursor's widget is hidden (its area reported dirty), the
  // named one's shown.
  bool SetCurrentCursor(const std::string& name) override;
  std::string GetDefaultCursorName() override;
  const std::string& GetStoredDefaultName() const { return defaultCursorName_; }
  void SetDefaultCursorName(const std::string& name) { defaultCursorName_ = name; }

protected:
  ~TCursorCollection() override = default;

private:
  std::string defaultCursorName_;
  Ref<ICursor> current_;
};

}  // namespace qv
