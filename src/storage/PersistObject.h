// The persistent object model: objects that are created from a type name,
// load themselves from a storage node and save themselves back.
//
// Load protocol: "_outstorage" and "template" are read, then LoadFromStorage.
// Save protocol: without out-storage, SaveToStorage into the node; with it,
// the full content goes to the out-storage file (or, for a template, only the
// attributes that differ from the file go into the node), then "template"
// and "_outstorage" are written.
#pragma once

#include <string>

#include "core/Ref.h"
#include "core/Variant.h"
#include "storage/HierStorage.h"
#include "storage/PropertyTable.h"

namespace qv {

class TAbstractObject : public virtual IInterface {
public:
  // Runs once right after construction when the registry or a collection
  // makes the object.
  virtual void Initialize() {}
  // One parameter of a creation string.
  virtual void SetParam(const std::string& name, const std::string& value) {
    (void)name;
    (void)value;
  }
};

class INamedObject : public virtual IInterface {
public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
};

class TNamedObject : public TAbstractObject, public INamedObject {
public:
  const std::string& GetName() const override { return name_; }
  void SetName(const std::string& name) override { name_ = name; }

private:
  std::string name_;
};

class IPersistent : public virtual IInterface {
public:
  virtual void Load(const StorageRef& storage) = 0;
  virtual void Save(const StorageRef& storage) = 0;
  virtual std::string GetStorageName() const = 0;
};

class IPersistentEx : public IPersistent {
public:
  virtual bool SaveTo(const StorageRef& storage) = 0;
  virtual bool IsStored() const = 0;
  virtual void SetStored(bool stored) = 0;
  virtual void Hook() {}
};

// The persistence fields and the load/save protocol shared by persist
// objects and persist collections. Subclasses supply the content through
// LoadFromStorage and SaveToStorage.
class TPersistent : public IPersistentEx {
public:
  void Load(const StorageRef& storage) override;
  void Save(const StorageRef& storage) override;
  std::string GetStorageName() const override { return storageName_; }
  bool SaveTo(const StorageRef& storage) override {
    SaveToStorage(storage);
    return true;
  }
  bool IsStored() const override { return stored_; }
  void SetStored(bool stored) override { stored_ = stored; }

  virtual void LoadFromStorage(const StorageRef& storage) = 0;
  virtual void SaveToStorage(const StorageRef& storage) = 0;

  const std::string& GetOutStorage() const { return outStorage_; }
  void SetOutStorage(const std::string& text) { outStorage_ = text; }
  bool IsTemplate() const { return isTemplate_; }
  void SetTemplate(bool value) { isTemplate_ = value; }
  void SetStorageName(const std::string& name) { storageName_ = name; }

private:
  std::string outStorage_;  // the "_outstorage" value
  bool isTemplate_ = false;
  bool stored_ = true;
  std::string storageName_;  // element name when the owner gives none
};

// Persist objects load and save the keys of their class's property table
// (PropertyTable.h): a class declares its table with QV_PROPERTY_TABLE and
// needs no LoadFromStorage or SaveToStorage of its own unless it has child
// nodes; then it overrides them and calls these first.
class TPersistObject : public TNamedObject, public TPersistent {
public:
  void Initialize() override;

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // "name" (written when not empty) and "type" (written when not empty,
  // never loaded); neither is a property.
  static const TPropertyTable<TPersistObject>& Properties();
  // The table of the object's class.
  virtual const IPropertyTable& GetPropertyTable() const;

  // The registered name of the object's class (looked up on first use when
  // Initialize did not run).
  const std::string& GetTypeName() const;
  void SetTypeName(const std::string& typeName) {
    typeName_ = typeName;
    typeNameKnown_ = true;
  }

private:
  mutable std::string typeName_;
  mutable bool typeNameKnown_ = false;
};

class IPropertyObject : public virtual IInterface {
public:
  virtual bool SetPropertyValue(const std::string& name, const TVariant& value) = 0;
  virtual TVariant GetPropertyValue(const std::string& name) = 0;
  TVariant GetPropertyValueDef(const std::string& name, const TVariant& def) {
    TVariant v = GetPropertyValue(name);
    return VarIsEmpty(v) ? def : v;
  }
};

// Properties by name come from the class's property table: a name that is
// not a readable property reads empty, one that is not writable is refused
// (false). Classes with further properties override both and call these.
class TPropertyObject : public TPersistObject, public IPropertyObject {
public:
  bool SetPropertyValue(const std::string& name, const TVariant& value) override {
    return GetPropertyTable().SetObjectProperty(*this, name, value);
  }
  TVariant GetPropertyValue(const std::string& name) override {
    TVariant value;
    GetPropertyTable().GetObjectProperty(*this, name, value);
    return value;
  }
};

}  // namespace qv
