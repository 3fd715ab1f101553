// The class registry: type names (case-insensitive) to classes, and object
// creation from data. Each subsystem fills it from one Register...Types()
// function; start-up calls those in a fixed order.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <vector>

#include "core/Ref.h"
#include "core/StringUtils.h"
#include "storage/PersistObject.h"

namespace qv {

using TObjectFactory = Ref<TAbstractObject> (*)();

struct TClassInfo {
  std::string name;  // the first name registered for the class
  std::type_index type;
  TObjectFactory create;
};

// Thrown by a second registration of one type name.
class EDuplicateEntry : public std::logic_error {
public:
  EDuplicateEntry() : std::logic_error("Duplicate entry.") {}
};

class TClassRegistry {
public:
  // The process-wide registry.
  static TClassRegistry& Instance();

  void Register(const std::string& typeName, std::type_index type, TObjectFactory create);
  const TClassInfo* Find(std::string_view typeName) const;
  // The first name registered for the class; empty when unregistered.
  std::string NameOf(std::type_index type) const;
  // Removes every entry (tests only).
  void Reset();

private:
  std::map<std::string, TClassInfo, TextLess> byName_;
  std::map<std::type_index, std::string> firstName_;
};

template <class T>
void RegisterClass(const std::string& typeName) {
  TClassRegistry::Instance().Register(
      typeName, typeid(T), +[]() -> Ref<TAbstractObject> { return MakeRef<T>(); });
}

std::string ClassTypeName(const std::type_info& type);
// ClassTypeName of the object's dynamic class.
std::string ClassTypeName(const TAbstractObject& object);

// Initialize, then SetParam for each pair of the parameter text in order.
Ref<TAbstractObject> CreateWithParams(TObjectFactory create, const std::string& params);
template <class T>
Ref<T> CreateWithParams(const std::string& params) {
  return Query<T>(CreateWithParams(
      +[]() -> Ref<TAbstractObject> { return MakeRef<T>(); }, params));
}

// "TypeName" or "TypeName{name=value\...}"; empty for unregistered names.
// Empty when the type is not registered; callers that drop the object report
// it (ReportUnknownType), since they know where the text came from.
Ref<TAbstractObject> CreateFromString(const std::string& creation);
// CreateFromString, then SetName when the object is named and name is not empty.
Ref<TAbstractObject> CreateFromType(const std::string& typeText, const std::string& name);
// Reads "name" and "type", creates and loads; objects without IPersistent are dropped.
// Reports an unknown (or missing) type to the diagnostics sink.
Ref<TAbstractObject> CreateFromNode(const StorageRef& storage);
// The one wording of "this type is not registered", reported at `where`.
void ReportUnknownType(const std::string& where, const std::string& typeText);
Ref<TAbstractObject> CreateFromChild(const StorageRef& storage, const std::string& elementName, int index);
// Loads `object` from the index-th child (element name defaults to the
// object's storage name). False when that child is missing.
bool LoadObjectFrom(IPersistent& object, const StorageRef& storage, const std::string& elementName,
                    int index);
template <class T>
Ref<T> CreateAndLoad(const StorageRef& storage, const std::string& elementName, int index) {
  Ref<T> object = MakeRef<T>();
  object->Initialize();
  if (!LoadObjectFrom(*object, storage, elementName, index)) return nullptr;
  return object;
}
// Saves into a new child (element name defaults to the storage name). An
// object that is not stored writes nothing and reports true.
bool SaveObjectTo(IPersistent& object, const StorageRef& storage, const std::string& elementName);

// Typed creation helpers.
template <class T>
Ref<T> CreateFromStringAs(const std::string& creation) {
  return Query<T>(CreateFromString(creation));
}
template <class T>
Ref<T> CreateFromNodeAs(const StorageRef& storage) {
  return Query<T>(CreateFromNode(storage));
}

}  // namespace qv
