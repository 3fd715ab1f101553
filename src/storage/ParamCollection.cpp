#include "storage/ParamCollection.h"

#include "core/Json.h"
#include "core/Variant.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TParam>& TParam::Properties() {
  static const TPropertyTable<TParam> table =
      TPropertyTable<TParam>(TPersistObject::Properties()).String("value", &TParam::value_).Always();
  return table;
}

Ref<TParamCollection> TParamCollection::CopyParams(const ICollection& source) {
  Ref<TParamCollection> copy = MakeRef<TParamCollection>();
  copy->Initialize();
  for (int i = 0; i < source.Count(); ++i) {
    if (auto param = Query<IParam>(source.Item(i))) copy->SetParamValue(param->GetName(), param->GetValue());
  }
  return copy;
}

void TParamCollection::SetParamValue(const std::string& name, const TVariant& value) {
  if (auto param = GetParam(name)) {
    param->SetValue(value);
    return;
  }
  Ref<TParam> param = MakeRef<TParam>();
  param->Initialize();
  param->SetName(name);
  param->SetValue(value);
  Insert(-1, name, param);
}

TVariant TParamCollection::GetParamValueDef(const std::string& name, const TVariant& def) const {
  auto param = GetParam(name);
  return param ? param->GetValue() : def;
}

void TParamCollection::LoadItem(const StorageRef& storage) {
  SetParamValue(ReadString(storage, "name"), ReadString(storage, "value"));
}

bool TParamCollection::SaveItem(const Ref<IInterface>& item, const StorageRef& storage) {
  auto param = Query<IParam>(item);
  if (!param) return false;
  WriteString(storage, "name", param->GetName());
  WriteString(storage, "value", VarToString(param->GetValue()));
  return true;
}

std::string ParamsJson(const IParamCollection* params) {
  std::string json = "{";
  for (int i = 0; params && i < params->GetParamCount(); ++i)
    if (const Ref<IParam> param = params->GetParamAt(i))
      json += (json.size() > 1 ? "," : "") + JsonString(param->GetName()) + ":" +
              JsonString(VarToString(param->GetValue()));
  return json + "}";
}

}  // namespace qv
