#include "storage/ClassRegistry.h"

#include "core/Diagnostics.h"
#include "storage/Params.h"
#include "storage/StorageAccess.h"

namespace qv {

TClassRegistry& TClassRegistry::Instance() {
  static TClassRegistry registry;
  return registry;
}

void TClassRegistry::Register(const std::string& typeName, std::type_index type, TObjectFactory create) {
  if (byName_.count(typeName)) throw EDuplicateEntry();
  byName_.emplace(typeName, TClassInfo{typeName, type, create});
  firstName_.emplace(type, typeName);  // keeps the first name of a class
}

const TClassInfo* TClassRegistry::Find(std::string_view typeName) const {
  const auto it = byName_.find(typeName);
  return it == byName_.end() ? nullptr : &it->second;
}

std::string TClassRegistry::NameOf(std::type_index type) const {
  const auto it = firstName_.find(type);
  return it == firstName_.end() ? std::string() : it->second;
}

void TClassRegistry::Reset() {
  byName_.clear();
  firstName_.clear();
}

std::string ClassTypeName(const std::type_info& type) {
  return TClassRegistry::Instance().NameOf(type);
}

std::string ClassTypeName(const TAbstractObject& object) {
  return ClassTypeName(typeid(object));
}

Ref<TAbstractObject> CreateWithParams(TObjectFactory create, const std::string& params) {
  Ref<TAbstractObject> object = create();
  if (!object) return nullptr;
  object->Initialize();
  for (const auto& pair : ParseParams(params)) object->SetParam(pair.name, pair.value);
  return object;
}

Ref<TAbstractObject> CreateFromString(const std::string& creation) {
  std::string typeName = creation;
  std::string params;
  if (const size_t brace = creation.find('{'); brace != std::string::npos) {
    typeName = creation.substr(0, brace);
    params = creation.substr(brace + 1);
    if (!params.empty()) params.pop_back();  // the closing "}"
  }
  const TClassInfo* info = TClassRegistry::Instance().Find(typeName);
  if (!info) {
    ReportDataError("class registry", typeName.empty()
                                          ? std::string("no type name given; nothing is created")
                                          : "unknown type \"" + typeName + "\"; nothing is created");
    return nullptr;
  }
  return CreateWithParams(info->create, params);
}

Ref<TAbstractObject> CreateFromType(const std::string& typeText, const std::string& name) {
  Ref<TAbstractObject> object = CreateFromString(typeText);
  if (object && !name.empty()) {
    if (auto* named = QueryPtr<INamedObject>(object.get())) named->SetName(name);
  }
  return object;
}

Ref<TAbstractObject> CreateFromNode(const StorageRef& storage) {
  if (!storage) return nullptr;
  Ref<TAbstractObject> object =
      CreateFromType(ReadString(storage, "type", ""), ReadString(storage, "name", ""));
  auto* persistent = QueryPtr<IPersistent>(object.get());
  if (!persistent) return nullptr;
  persistent->Load(storage);
  return object;
}

Ref<TAbstractObject> CreateFromChild(const StorageRef& storage, const std::string& elementName, int index) {
  if (!storage || index < 0 || index >= storage->GetChildCount(elementName)) return nullptr;
  return CreateFromNode(storage->GetChild(elementName, index));
}

bool LoadObjectFrom(IPersistent& object, const StorageRef& storage, const std::string& elementName,
                    int index) {
  if (!storage) return false;
  const std::string name = elementName.empty() ? object.GetStorageName() : elementName;
  if (index < 0 || index >= storage->GetChildCount(name)) return false;
  const StorageRef child = storage->GetChild(name, index);
  if (!child) return false;
  object.Load(child);
  return true;
}

bool SaveObjectTo(IPersistent& object, const StorageRef& storage, const std::string& elementName) {
  const std::string name = elementName.empty() ? object.GetStorageName() : elementName;
  if (name.empty() || !storage) return false;
  if (const auto* ex = dynamic_cast<const IPersistentEx*>(&object); ex && !ex->IsStored()) return true;
  const StorageRef child = storage->AddChild(name);
  if (!child) return false;
  object.Save(child);
  return true;
}

}  // namespace qv
