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

namespace qv {

class TAbstractObject : public virtual IInterface {
protected:
  ~TAbstractObject() override = default;

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
protected:
  ~INamedObject() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
};

class TNamedObject : public TAbstractObject, public INamedObject {
protected:
  ~TNamedObject() override = default;

public:
  const std::string& GetName() const override { return name_; }
  void SetName(const std::string& name) override { name_ = name; }

private:
  std::string name_;
};

class IPersistent : public virtual IInterface {
protected:
  ~IPersistent() override = default;

public:
  virtual void Load(const StorageRef& storage) = 0;
  virtual void Save(const StorageRef& storage) = 0;
  virtual std::string GetStorageName() const = 0;
};

class IPersistentEx : public IPersistent {
protected:
  ~IPersistentEx() override = default;

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
protected:
  ~TPersistent() override = default;

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

class TPersistObject : public TNamedObject, public TPersistent {
protected:
  ~TPersistObject() override = default;

public:
  void Initialize() override;

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  const std::string& GetTypeName() const { return typeName_; }
  void SetTypeName(const std::string& typeName) { typeName_ = typeName; }

private:
  std::string typeName_;
};

class IPropertyObject : public virtual IInterface {
protected:
  ~IPropertyObject() override = default;

public:
  virtual bool SetPropertyValue(const std::string& name, const TVariant& value) = 0;
  virtual TVariant GetPropertyValue(const std::string& name) = 0;
  TVariant GetPropertyValueDef(const std::string& name, const TVariant& def) {
    TVariant v = GetPropertyValue(name);
    return VarIsEmpty(v) ? def : v;
  }
};

class TPropertyObject : public TPersistObject, public IPropertyObject {
protected:
  ~TPropertyObject() override = default;

public:
  // The base knows no properties: reads give empty, writes do nothing.
  bool SetPropertyValue(const std::string& name, const TVariant& value) override {
    (void)name;
    (void)value;
    return false;
  }
  TVariant GetPropertyValue(const std::string& name) override {
    (void)name;
    return {};
  }
};

}  // namespace qv
