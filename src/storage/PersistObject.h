// The persistent object model: objects that are created from a type name,
// load themselves from a storage node and save themselves back.
//
// Load protocol: "_outstorage" and "template" are read, then LoadFromStorage.
// Save protocol: without out-storage, SaveToStorage into the node; with it,
// the full content goes to the out-storage file (or, for a template, only the
// attributes that differ from the file go into the node), then "template"
// and "_outstorage" are written.
#pragma once

#include <functional>
#include <string>

#include "core/Ref.h"
#include "core/Variant.h"
#include "storage/HierStorage.h"

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

// The persistence fields shared by persist objects and persist collections.
struct TPersistState {
  std::string outStorage;  // the "_outstorage" value
  bool isTemplate = false;
  bool stored = true;
  std::string storageName;  // element name when the owner gives none
};

// The load and save protocols, shared by persist objects and collections.
// `content` is the object's LoadFromStorage or SaveToStorage.
void PersistLoad(TPersistState& state, const StorageRef& storage,
                 const std::function<void(const StorageRef&)>& content);
void PersistSave(TPersistState& state, const StorageRef& storage,
                 const std::function<void(const StorageRef&)>& content);

class TPersistObject : public TNamedObject, public IPersistentEx {
public:
  void Initialize() override;

  // IPersistent / IPersistentEx
  void Load(const StorageRef& storage) override;
  void Save(const StorageRef& storage) override;
  std::string GetStorageName() const override { return persist_.storageName; }
  bool SaveTo(const StorageRef& storage) override {
    SaveToStorage(storage);
    return true;
  }
  bool IsStored() const override { return persist_.stored; }
  void SetStored(bool stored) override { persist_.stored = stored; }

  virtual void LoadFromStorage(const StorageRef& storage);
  virtual void SaveToStorage(const StorageRef& storage);

  const std::string& GetTypeName() const { return typeName_; }
  void SetTypeName(const std::string& typeName) { typeName_ = typeName; }
  const std::string& GetOutStorage() const { return persist_.outStorage; }
  void SetOutStorage(const std::string& text) { persist_.outStorage = text; }
  bool IsTemplate() const { return persist_.isTemplate; }
  void SetTemplate(bool value) { persist_.isTemplate = value; }
  void SetStorageName(const std::string& name) { persist_.storageName = name; }

private:
  TPersistState persist_;
  std::string typeName_;
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

class TPropertyObject : public TPersistObject, public IPropertyObject {
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
