#include "storage/ContextParamCollection.h"

#include <cmath>
#include <optional>

#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {

// A number held by a value: integers stay exact; text must be a whole
// number ("$" hexadecimal too) or a decimal number.
struct TNumber {
  bool integral = false;
  long long i = 0;
  double d = 0.0;
};

std::optional<TNumber> AsNumber(const TVariant& v) {
  if (const auto* b = std::get_if<bool>(&v)) return TNumber{true, *b ? 1 : 0, *b ? 1.0 : 0.0};
  if (const auto* i = std::get_if<long long>(&v)) return TNumber{true, *i, static_cast<double>(*i)};
  if (const auto* d = std::get_if<double>(&v)) return TNumber{false, 0, *d};
  if (const auto* s = std::get_if<std::string>(&v)) {
    long long i = 0;
    if (TryParseInt(*s, i)) return TNumber{true, i, static_cast<double>(i)};
    const double d = ParseFloat(*s, NAN);
    if (!std::isnan(d)) return TNumber{false, 0, d};
  }
  return std::nullopt;
}

// Variant equality: values of one type compare as they are (text exactly);
// text against a number or a boolean compares as numbers when the text is
// one ("01" equals 1), text against a boolean also by "yes"/"no"; empty
// equals only empty.
bool SameValue(const TVariant& a, const TVariant& b) {
  if (a.index() == b.index()) return a == b;
  if (VarIsEmpty(a) || VarIsEmpty(b)) return false;
  const auto* bit = std::get_if<bool>(&a) ? &a : std::get_if<bool>(&b) ? &b : nullptr;
  if (bit) {
    const TVariant& other = bit == &a ? b : a;
    if (const auto* text = std::get_if<std::string>(&other); text && (*text == "yes" || *text == "no"))
      return std::get<bool>(*bit) == (*text == "yes");
  }
  const auto x = AsNumber(a), y = AsNumber(b);
  if (!x || !y) return false;
  if (x->integral && y->integral) return x->i == y->i;
  return x->d == y->d;
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

const TPropertyTable<TContextValue>& TContextValue::Properties() {
  static const TPropertyTable<TContextValue> table =
      TPropertyTable<TContextValue>(TPersistObject::Properties())
          .String("value", &TContextValue::value_)
          .Always();
  return table;
}

void TContextValue::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (const StorageRef context = FirstChild(storage, "context")) conditions_->LoadFromStorage(context);
}

void TContextValue::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
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
