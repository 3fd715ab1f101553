#include "playerdata/Record.h"

#include <atomic>

#include "core/StringUtils.h"
#include "localisation/MultiLanguages.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {

constexpr char kParams[] = "params";
constexpr char kParam[] = "param";
constexpr char kParamName[] = "name";

std::atomic<int> g_recordCount{0};

}  // namespace

TRecord::TRecord() : params_(MakeRef<TParamCollection>()) {
  SetStorageName("record");
  params_->Initialize();
  SetName("Record" + std::to_string(++g_recordCount));
}

const TPropertyTable<TRecord>& TRecord::Properties() {
  static const TPropertyTable<TRecord> table = TPropertyTable<TRecord>(TPersistObject::Properties())
                                                   .String("name", &TRecord::GetName, nullptr)
                                                   .StorageOnly();
  return table;
}

void TRecord::SetParam(const std::string& name, const std::string& value) {
  if (SameText(name, kParam) && !value.empty()) params_->SetParamValue(value, std::string());
}

int ScoreOf(const IParamCollection& params, int def) {
  const Ref<IParam> score = params.GetParam("Score");
  if (!score) return def;
  long long value = 0;
  if (!TryParseInt(Trim(VarToString(score->GetValue())), value) || value < -2147483647LL - 1 ||
      value > 2147483647LL)
    return def;
  return static_cast<int>(value);
}

int TRecord::GetScore() const {
  return ScoreOf(*params_, -1);
}

std::string TRecord::GetText(const std::string& name) const {
  return VarToString(params_->GetParamValueDef(name, std::string()));
}

void TRecord::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef params = storage->GetChild(kParams, 0);
  if (!params) return;
  const int count = params->GetChildCount(kParam);
  for (int i = 0; i < count; ++i) {
    const StorageRef param = params->GetChild(kParam, i);
    const std::string name = ReadString(param, kParamName, "");
    if (!param || name.empty() || !params_->GetParam(name)) continue;
    params_->SetParamValue(name, ExpandText(param->GetText(), false));
  }
}

void TRecord::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (!storage) return;
  const StorageRef params = storage->AddChild(kParams);
  for (int i = 0; i < params_->GetParamCount(); ++i) {
    const Ref<IParam> value = params_->GetParamAt(i);
    if (!value) continue;
    const StorageRef param = params->AddChild(kParam);
    WriteString(param, kParamName, value->GetName());
    param->SetText(VarToString(value->GetValue()));
  }
}

void TRecordCollection::Move(int from, int to) {
  if (from == to || from < 0 || from >= Count()) return;
  const Ref<IInterface> item = Item(from);
  const std::string key = Items().KeyAt(from);
  Items().Delete(from);
  Items().Insert(to, key, item);
}

}  // namespace qv
