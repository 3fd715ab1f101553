#include "playerdata/LevelRecord.h"

#include "core/StringUtils.h"

namespace qv {

TLevelRecord::TLevelRecord() : params_(MakeRef<TParamCollection>()) {
  SetStorageName("levelrecord");
  params_->Initialize();
}

const TPropertyTable<TLevelRecord>& TLevelRecord::Properties() {
  static const TPropertyTable<TLevelRecord> table =
      TPropertyTable<TLevelRecord>(TPersistObject::Properties());
  return table;
}

void TLevelRecord::SetInt(const std::string& name, long long value) {
  params_->SetParamValue(name, std::to_string(value));
}

void TLevelRecord::SetText(const std::string& name, const std::string& text) {
  params_->SetParamValue(name, text);
}

long long TLevelRecord::GetInt(const std::string& name, long long def, bool create) {
  const Ref<IParam> param = params_->GetParam(name);
  if (!param) {
    if (create) SetInt(name, def);
    return def;
  }
  long long value = 0;
  return TryParseInt(Trim(VarToString(param->GetValue())), value) ? value : def;
}

std::string TLevelRecord::GetText(const std::string& name, const std::string& def, bool create) {
  const Ref<IParam> param = params_->GetParam(name);
  if (!param) {
    if (create) SetText(name, def);
    return def;
  }
  return VarToString(param->GetValue());
}

int TLevelRecord::GetNumber() const {
  long long value = 0;
  if (!TryParseInt(GetName(), value) || value < -2147483647LL - 1 || value > 2147483647LL) return -1;
  return static_cast<int>(value);
}

void TLevelRecord::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  params_->LoadFromStorage(storage);
}

void TLevelRecord::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  params_->SaveToStorage(storage);
}

void TLevelRecordCollection::LoadItem(const StorageRef& storage) {
  Ref<IInterface> item = CreateItem(storage);
  if (auto* record = QueryPtr<TLevelRecord>(item.get())) record->LoadFromStorage(storage);
  AddItem(item);
}

}  // namespace qv
