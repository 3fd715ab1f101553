// Context parameters: values that depend on a context. Each context
// parameter holds candidates guarded by conditions; when the current
// context changes, every parameter selects its first candidate whose
// conditions all hold (and keeps its earlier selection when none does).
//
// XML shape:
//   <context_params>
//     <context><param name="mode" value="relax"/></context>
//     <content>
//       <context_param name="speed">
//         <context_values>
//           <context_value value="2"><context><param name="mode" value="relax"/></context></context_value>
//           <context_value value="1"/>
//         </context_values>
//       </context_param>
//     </content>
//   </context_params>
#pragma once

#include <string>

#include "storage/ParamCollection.h"

namespace qv {

class IContextValue : public virtual IInterface {
protected:
  ~IContextValue() override = default;

public:
  virtual const TVariant& GetValue() const = 0;
  // True when every condition names a context param with an equal value.
  virtual bool Matches(const IParamCollection& context) const = 0;
};

class TContextValue : public TPersistObject, public IContextValue {
protected:
  ~TContextValue() override = default;

public:
  TContextValue() { SetStorageName("context_value"); }

  const TVariant& GetValue() const override { return value_; }
  void SetValue(const TVariant& value) { value_ = value; }
  bool Matches(const IParamCollection& context) const override;
  TParamCollection& GetConditions() { return *conditions_; }

  // "value" (loaded as text, always written); the conditions are the
  // child "context".
  QV_PROPERTY_TABLE(TContextValue)
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

private:
  TVariant value_;
  Ref<TParamCollection> conditions_ = MakeRef<TParamCollection>();
};

class IContextParam : public virtual IInterface {
protected:
  ~IContextParam() override = default;

public:
  // The selected candidate's value; empty while nothing is selected.
  virtual TVariant GetValue() const = 0;
  virtual void Select(const IParamCollection& context) = 0;
};

class TContextParam : public TPersistObject, public IContextParam {
protected:
  ~TContextParam() override = default;

public:
  TContextParam() { SetStorageName("context_param"); }

  TVariant GetValue() const override { return selected_ ? selected_->GetValue() : TVariant(); }
  void Select(const IParamCollection& context) override;
  // Appends a candidate (document order is selection order).
  void AddCandidate(const Ref<IContextValue>& value) { candidates_.Add(std::nullopt, value); }
  int CandidateCount() const { return candidates_.Count(); }

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

private:
  Ref<IContextValue> selected_;
  TKeyedList<Ref<IContextValue>> candidates_;
};

class IContextParamCollection : public virtual IInterface {
protected:
  ~IContextParamCollection() override = default;

public:
  // Sets one param of the current context, then reselects every parameter.
  virtual void SetContextValue(const std::string& name, const TVariant& value) = 0;
  virtual Ref<IContextParam> GetContextParam(const std::string& name) const = 0;
  virtual Ref<IContextParam> GetContextParamAt(int index) const = 0;
};

class TContextParamCollection : public TCollection, public TPersistent, public IContextParamCollection {
protected:
  ~TContextParamCollection() override = default;

public:
  TContextParamCollection() { SetStorageName("context_params"); }

  void SetContextValue(const std::string& name, const TVariant& value) override;
  Ref<IContextParam> GetContextParam(const std::string& name) const override {
    return ItemAs<IContextParam>(name);
  }
  Ref<IContextParam> GetContextParamAt(int index) const override { return ItemAs<IContextParam>(index); }
  TParamCollection& GetContext() { return *context_; }
  // Adds a parameter keyed by its name (none when the name exists).
  bool AddContextParam(const Ref<TContextParam>& param) { return AddNamed(param) >= 0; }
  void Reselect();

  // Always stored.
  bool IsStored() const override { return true; }
  void SetStored(bool) override {}

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

private:
  Ref<TParamCollection> context_ = MakeRef<TParamCollection>();
};

}  // namespace qv
