#include "storage/ContextParamCollection.h"

#include "storage/StorageAccess.h"

namespace qv {

namespace {

bool SameValue(const TVariant& a, const TVariant& b) {
  if (a.index() == b.index()) return a == b;
  return VarToString(a) == VarToString(b);
}

StorageRef FirstChild(const StorageRef& storage, const std::string& name) {
  if (!storage || storage->GetChildCount(name) <= 0) return nullptr;
  return storage->GetChild(name, 0);
}

}  // namespace

bool TContextValue::Matches(const IParamCollection& context) const {
  for (int i = 0; i < conditions_->GetParamCount(); ++i) {
    const auto condition = conditions_->GetParamAt(i);
    if (!condition) continue;
    const auto actual = context.GetParam(condition->GetName());
    if (!actual || !SameValue(actual->GetValue(), condition->GetValue())) return false;
  }
  return true;
}

void TContextValue::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  value_ = ReadString(storage, "value");
  if (const StorageRef context = FirstChild(storage, "context")) conditions_->LoadFromStorage(context);
}

void TContextValue::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  WriteString(storage, "value", VarToString(value_));
  if (conditions_->Count() > 0 && storage) conditions_->SaveToStorage(storage->AddChild("context"));
}

void TContextParam::Select(const IParamCollection& context) {
  for (const auto& entry : candidates_) {
    if (entry.value && entry.value->Matches(context)) {
      selected_ = entry.value;
      return;
    }
  }
}

void TContextParam::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  const StorageRef values = FirstChild(storage, "context_values");
  if (!values) return;
  const int count = values->GetChildCount("context_value");
  for (int i = 0; i < count; ++i) {
    Ref<TContextValue> value = MakeRef<TContextValue>();
    value->Initialize();
    value->Load(values->GetChild("context_value", i));
    AddCandidate(value);
  }
}

void TContextParam::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (!storage) return;
  const StorageRef values = storage->AddChild("context_values");
  for (const auto& entry : candidates_) {
    if (auto persistent = Query<IPersistent>(entry.value))
      persistent->Save(values->AddChild("context_value"));
  }
}

void TContextParamCollection::SetContextValue(const std::string& name, const TVariant& value) {
  context_->SetParamValue(name, value);
  Reselect();
}

void TContextParamCollection::Reselect() {
  for (int i = 0; i < Count(); ++i) {
    if (auto param = ItemAs<IContextParam>(i)) param->Select(*context_);
  }
}

void TContextParamCollection::LoadFromStorage(const StorageRef& storage) {
  if (const StorageRef context = FirstChild(storage, "context")) context_->LoadFromStorage(context);
  if (const StorageRef content = FirstChild(storage, "content")) {
    const int count = content->GetChildCount("context_param");
    for (int i = 0; i < count; ++i) {
      Ref<TContextParam> param = MakeRef<TContextParam>();
      param->Initialize();
      param->Load(content->GetChild("context_param", i));
      AddContextParam(param);
    }
  }
  Reselect();
}

void TContextParamCollection::SaveToStorage(const StorageRef& storage) {
  if (!storage) return;
  context_->SaveToStorage(storage->AddChild("context"));
  const StorageRef content = storage->AddChild("content");
  for (int i = 0; i < Count(); ++i) {
    if (auto persistent = ItemAs<IPersistent>(i)) persistent->Save(content->AddChild("context_param"));
  }
}

}  // namespace qv
