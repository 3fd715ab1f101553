#include "storage/PersistObject.h"

#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

void PersistLoad(TPersistState& state, const StorageRef& storage,
                 const std::function<void(const StorageRef&)>& content) {
  state.outStorage = ReadString(storage, "_outstorage", "");
  state.isTemplate = ReadBool(storage, "template", false);
  // The node answers from the out-storage file wherever it lacks a value.
  content(storage);
}

void PersistSave(TPersistState& state, const StorageRef& storage,
                 const std::function<void(const StorageRef&)>& content) {
  if (!storage) return;
  if (state.outStorage.empty()) {
    content(storage);
  } else {
    const StorageRef fresh = NewStorage(storage->GetNodeName());
    if (!fresh) return;
    content(fresh);
    if (state.isTemplate) {
      // Only what differs from the out-storage file goes into the node.
      const StorageRef file = LoadOutStorage(state.outStorage);
      for (int i = 0; i < fresh->GetAttrCount(); ++i) {
        const std::string name = fresh->GetAttrName(i);
        const std::string value = fresh->ReadAttrByIndex(i, "");
        const std::string base = file ? file->ReadAttr(name, "") : std::string();
        if (value != base) storage->WriteAttr(name, value);
      }
    } else {
      WriteOutStorage(fresh, state.outStorage);
    }
  }
  WriteBool(storage, "template", true, state.isTemplate);
  WriteString(storage, "_outstorage", state.outStorage, !state.outStorage.empty());
}

void TPersistObject::Initialize() {
  typeName_ = ClassTypeName(*this);
  persist_.stored = true;
  persist_.isTemplate = false;
}

void TPersistObject::Load(const StorageRef& storage) {
  PersistLoad(persist_, storage, [this](const StorageRef& s) { LoadFromStorage(s); });
}

void TPersistObject::Save(const StorageRef& storage) {
  PersistSave(persist_, storage, [this](const StorageRef& s) { SaveToStorage(s); });
}

void TPersistObject::LoadFromStorage(const StorageRef& storage) { SetName(ReadString(storage, "name", "")); }

void TPersistObject::SaveToStorage(const StorageRef& storage) {
  WriteString(storage, "name", GetName(), !GetName().empty());
  WriteString(storage, "type", typeName_, !typeName_.empty());
}

}  // namespace qv
