#include "playerdata/LevelRecordTable.h"

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"

namespace qv {

TLevelRecordTable::TLevelRecordTable() : records_(MakeRef<TLevelRecordCollection>()) {
  SetStorageName("levelrecordtable");
  records_->Initialize();
}

const TPropertyTable<TLevelRecordTable>& TLevelRecordTable::Properties() {
  static const TPropertyTable<TLevelRecordTable> table =
      TPropertyTable<TLevelRecordTable>(TPersistObject::Properties());
  return table;
}

void TLevelRecordTable::SetParam(const std::string& name, const std::string& value) {
  if (SameText(name, "name")) SetName(value);
}

Ref<TLevelRecord> TLevelRecordTable::GetRecord(int level) const {
  return records_->ItemAs<TLevelRecord>(std::to_string(level));
}

Ref<TLevelRecord> TLevelRecordTable::SetRecord(int level, const IParamCollection& values) {
  Ref<TLevelRecord> record = GetRecord(level);
  if (!record) {
    record = MakeRef<TLevelRecord>();
    record->Initialize();
    record->SetName(std::to_string(level));
    records_->Insert(-1, record->GetName(), record);
  }
  for (int i = 0; i < values.GetParamCount(); ++i) {
    const Ref<IParam> value = values.GetParamAt(i);
    if (value && !value->GetName().empty())
      record->GetParams().SetParamValue(value->GetName(), value->GetValue());
  }
  return record;
}

void TLevelRecordTable::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (storage)
    if (const StorageRef child = storage->GetChild(records_->GetStorageName(), 0))
      records_->LoadFromStorage(child);
}

void TLevelRecordTable::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (storage) records_->SaveToStorage(storage->AddChild(records_->GetStorageName()));
}

void TLevelRecordTableCollection::LoadItem(const StorageRef& storage) {
  const std::string name = ReadString(storage, "name", "");
  const Ref<TLevelRecordTable> table = GetTable(name);
  if (!table) {
    ReportDataError("levelrecordtables", "a table named \"" + name + "\" is no mode's table; skipped");
    return;
  }
  // The table keeps its own name; a file may spell it in another case.
  const std::string kept = table->GetName();
  table->LoadFromStorage(storage);
  table->SetName(kept);
}

}  // namespace qv
