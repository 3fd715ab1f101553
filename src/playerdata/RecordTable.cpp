#include "playerdata/RecordTable.h"

#include <algorithm>
#include <vector>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {

std::string TextOf(const IParamCollection& params, const std::string& name) {
  return VarToString(params.GetParamValueDef(name, std::string()));
}

bool IsPreset(const TRecord& record) {
  return record.GetText("Const") == "yes";
}

}  // namespace

TRecordTable::TRecordTable() : records_(MakeRef<TRecordCollection>()) {
  SetStorageName("recordtable");
  records_->Initialize();
}

const TPropertyTable<TRecordTable>& TRecordTable::Properties() {
  static const TPropertyTable<TRecordTable> table =
      TPropertyTable<TRecordTable>(TPersistObject::Properties());
  return table;
}

void TRecordTable::SetParam(const std::string& name, const std::string& value) {
  if (SameText(name, "name")) {
    SetName(value);
  } else if (SameText(name, "record_structure")) {
    structure_ = value;
  } else if (SameText(name, "max_records")) {
    long long max = 0;
    if (TryParseInt(Trim(value), max) && max >= 0 && max <= 1000000) {
      maxRecords_ = static_cast<int>(max);
    } else {
      maxRecords_ = kDefaultMaxRecords;
      ReportDataError("record_table " + GetName(),
                      "max_records \"" + value + "\" is not a count; 10 is used");
    }
  }
}

Ref<TRecord> TRecordTable::NewRecord() const {
  return CreateWithParams<TRecord>(structure_);
}

bool TRecordTable::Qualifies(int score) const {
  if (score <= 0) return false;
  if (records_->Count() < maxRecords_) return true;
  const Ref<TRecord> lowest = records_->RecordAt(records_->Count() - 1);
  return lowest && lowest->GetScore() < score;
}

bool TRecordTable::Sort() {
  const int count = records_->Count();
  std::vector<Ref<TRecord>> order;
  order.reserve(static_cast<size_t>(count));
  bool inOrder = true;
  for (int i = 0; i < count; ++i) {
    order.push_back(records_->RecordAt(i));
    if (i > 0 && order[i - 1]->GetScore() < order[i]->GetScore()) inOrder = false;
  }
  if (inOrder) return false;
  std::stable_sort(order.begin(), order.end(), [](const Ref<TRecord>& a, const Ref<TRecord>& b) {
    return a->GetScore() > b->GetScore();
  });
  for (int i = 0; i < count; ++i)
    records_->Move(records_->IndexOf(order[static_cast<size_t>(i)]->GetName()), i);
  return true;
}

void TRecordTable::InsertRecord(const Ref<TRecord>& record) {
  if (records_->Append(record) < 0) return;
  Sort();
  lastInserted_ = records_->IndexOf(record->GetName());
  while (records_->Count() > maxRecords_) records_->Delete(records_->Count() - 1);
  if (lastInserted_ >= records_->Count()) lastInserted_ = -1;
}

Ref<TRecord> TRecordTable::Added(const IParamCollection& values) {
  const Ref<TRecord> record = NewRecord();
  if (!record) return nullptr;
  IParamCollection& params = record->GetParams();
  for (int i = 0; i < params.GetParamCount(); ++i) {
    const Ref<IParam> param = params.GetParamAt(i);
    if (const Ref<IParam> value = values.GetParam(param->GetName())) param->SetValue(value->GetValue());
  }
  InsertRecord(record);
  return record;
}

Ref<TRecord> TRecordTable::AddRecord(const IParamCollection& values) {
  const int score = ScoreOf(values, -1);
  if (score <= 0 || !Qualifies(score)) return nullptr;
  return Added(values);
}

Ref<TRecord> TRecordTable::AddRecordForNewPlayer(const IParamCollection& values) {
  const std::string player = TextOf(values, "Player");
  for (int i = 0; i < records_->Count(); ++i) {
    const Ref<TRecord> record = records_->RecordAt(i);
    if (record->GetText("Player") == player && !IsPreset(*record)) return nullptr;
  }
  return AddRecord(values);
}

bool TRecordTable::AddOrReplaceRecord(const IParamCollection& values) {
  const std::string player = TextOf(values, "Player");
  const int score = ScoreOf(values, 0);
  if (!Qualifies(score)) return false;
  for (int i = 0; i < records_->Count(); ++i) {
    const Ref<TRecord> record = records_->RecordAt(i);
    if (record->GetText("Player") != player || IsPreset(*record)) continue;
    IParamCollection& params = record->GetParams();
    for (int p = 0; p < params.GetParamCount(); ++p) {
      const Ref<IParam> param = params.GetParamAt(p);
      if (const Ref<IParam> value = values.GetParam(param->GetName())) param->SetValue(value->GetValue());
    }
    const bool changed = Sort();
    lastInserted_ = records_->IndexOf(record->GetName());
    return changed;
  }
  return Added(values) != nullptr;
}

void TRecordTable::ClearRecords() {
  lastInserted_ = -1;
  records_->Clear();
}

void TRecordTable::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (storage) {
    if (const StorageRef records = storage->GetChild(records_->GetStorageName(), 0)) {
      const int count = records->GetChildCount(records_->GetItemElementName());
      for (int i = 0; i < count; ++i) {
        const Ref<TRecord> record = NewRecord();
        if (!record) continue;
        record->LoadFromStorage(records->GetChild(records_->GetItemElementName(), i));
        InsertRecord(record);
      }
    }
  }
  lastInserted_ = -1;
}

void TRecordTable::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (storage) records_->SaveToStorage(storage->AddChild(records_->GetStorageName()));
}

void TRecordTableCollection::LoadItem(const StorageRef& storage) {
  const std::string name = ReadString(storage, "name", "");
  const Ref<TRecordTable> table = GetTable(name);
  if (!table) {
    ReportDataError("recordtables",
                    "a table named \"" + name + "\" is not one of the high score tables; skipped");
    return;
  }
  const std::string kept = table->GetName();
  table->LoadFromStorage(storage);
  table->SetName(kept);
}

}  // namespace qv
