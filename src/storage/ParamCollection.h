// Named parameters: a keyed bag of values read from "params" elements
// holding "param" children (attributes "name" and "value").
#pragma once

#include <string>

#include "core/Variant.h"
#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class IParam : public virtual IInterface {
protected:
  ~IParam() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual const TVariant& GetValue() const = 0;
  virtual void SetValue(const TVariant& value) = 0;
};

// One named value; loaded as text.
class TParam : public TPersistObject, public IParam {
protected:
  ~TParam() override = default;

public:
  TParam() { SetStorageName("param"); }

  const std::string& GetName() const override { return TPersistObject::GetName(); }
  void SetName(const std::string& name) override { TPersistObject::SetName(name); }
  const TVariant& GetValue() const override { return value_; }
  void SetValue(const TVariant& value) override { value_ = value; }

  // "value" (loaded as text, always written).
  QV_PROPERTY_TABLE(TParam)

private:
  TVariant value_;
};

class IParamCollection : public virtual IInterface {
protected:
  ~IParamCollection() override = default;

public:
  virtual void SetParamValue(const std::string& name, const TVariant& value) = 0;
  virtual Ref<IParam> GetParam(const std::string& name) const = 0;
  virtual Ref<IParam> GetParamAt(int index) const = 0;
  virtual TVariant GetParamValueDef(const std::string& name, const TVariant& def) const = 0;
  virtual int GetParamCount() const = 0;
};

// Params keyed by name (case-insensitive, one entry per name, insertion
// order). A creation string "Type{a=1\b=2}" fills the collection.
class TParamCollection : public TPersistCollection, public IParamCollection {
protected:
  ~TParamCollection() override = default;

public:
  TParamCollection() {
    SetStorageName("params");
    SetItemElementName("param");
  }

  // A new collection holding (name, value) of every param of `source`, in order.
  static Ref<TParamCollection> CopyParams(const ICollection& source);

  void SetParamValue(const std::string& name, const TVariant& value) override;
  Ref<IParam> GetParam(const std::string& name) const override { return ItemAs<IParam>(name); }
  Ref<IParam> GetParamAt(int index) const override { return ItemAs<IParam>(index); }
  TVariant GetParamValueDef(const std::string& name, const TVariant& def) const override;
  int GetParamCount() const override { return Count(); }

  void SetParam(const std::string& name, const std::string& value) override { SetParamValue(name, value); }
  // A repeated name overwrites the earlier value; "type" is not consulted.
  void LoadItem(const StorageRef& storage) override;
  bool SaveItem(const Ref<IInterface>& item, const StorageRef& storage) override;
};

// The parameters as a JSON object of texts, in order ("{}" for none).
std::string ParamsJson(const IParamCollection* params);

}  // namespace qv
