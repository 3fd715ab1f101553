#include "storage/PersistObject.h"

#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

void TPersistent::Load(const StorageRef& storage) {
  outStorage_ = ReadString(storage, "_outstorage", "");
  isTemplate_ = ReadBool(storage, "template", false);
  // The node answers from the out-storage file wherever it lacks a value.
  LoadFromStorage(storage);
}

void TPersistent::Save(const StorageRef& storage) {
  if (!storage) return;
  if (outStorage_.empty()) {
    SaveToStorage(storage);
  } else {
    const StorageRef fresh = NewStorage(storage->GetNodeName());
    if (!fresh) return;
    SaveToStorage(fresh);
    if (isTemplate_) {
      // Only what differs from the out-storage file goes into the node.
      const StorageRef file = LoadOutStorage(outStorage_);
      for (int i = 0; i < fresh->GetAttrCount(); ++i) {
        const std::string name = fresh->GetAttrName(i);
        const std::string value = fresh->ReadAttrByIndex(i, "");
        const std::string base = file ? file->ReadAttr(name, "") : std::string();
        if (value != base) storage->WriteAttr(name, value);
      }
    } else {
      WriteOutStorage(fresh, outStorage_);
    }
  }
  WriteBool(storage, "template", true, isTemplate_);
  WriteString(storage, "_outstorage", outStorage_, !outStorage_.empty());
}

void TPersistObject::Initialize() {
  SetTypeName(ClassTypeName(*this));
  SetStored(true);
  SetTemplate(false);
}

const std::string& TPersistObject::GetTypeName() const {
  if (!typeNameKnown_) {
    typeName_ = ClassTypeName(*this);
    typeNameKnown_ = true;
  }
  return typeName_;
}

const TPropertyTable<TPersistObject>& TPersistObject::Properties() {
  static const TPropertyTable<TPersistObject> table =
      TPropertyTable<TPersistObject>()
          .String("name", &TPersistObject::GetName, &TPersistObject::SetName)
          .StorageOnly()
          .String("type", &TPersistObject::GetTypeName, nullptr)
          .StorageOnly();
  return table;
}

const IPropertyTable& TPersistObject::GetPropertyTable() const {
  return Properties();
}

void TPersistObject::LoadFromStorage(const StorageRef& storage) {
  GetPropertyTable().LoadObject(*this, storage);
}

void TPersistObject::SaveToStorage(const StorageRef& storage) {
  GetPropertyTable().SaveObject(*this, storage);
}

}  // namespace qv
