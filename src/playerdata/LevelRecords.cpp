#include "playerdata/LevelRecords.h"

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {
constexpr char kRoot[] = "highscores";
}

TLevelRecords::TLevelRecords() : tables_(MakeRef<TLevelRecordTableCollection>()) {
  tables_->Initialize();
}

Ref<TLevelRecords> TLevelRecords::CreateStandard() {
  return CreateWithParams<TLevelRecords>(kLevelRecordTables);
}

const TPropertyTable<TLevelRecords>& TLevelRecords::Properties() {
  static const TPropertyTable<TLevelRecords> table =
      TPropertyTable<TLevelRecords>(TPersistObject::Properties());
  return table;
}

void TLevelRecords::SetParam(const std::string& name, const std::string& value) {
  if (!SameText(name, "level_record_table")) return;
  const Ref<TLevelRecordTable> table = CreateWithParams<TLevelRecordTable>(value);
  if (!table || table->GetName().empty() || tables_->AddNamed(table) < 0)
    ReportDataError("level_record_table", "\"" + value + "\" names no new table; ignored");
}

Ref<TLevelRecord> TLevelRecords::SetLevelRecord(const std::string& table, int level,
                                                const IParamCollection& values) {
  const Ref<TLevelRecordTable> found = tables_->GetTable(table);
  return found ? found->SetRecord(level, values) : nullptr;
}

void TLevelRecords::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (storage)
    if (const StorageRef child = storage->GetChild(tables_->GetStorageName(), 0))
      tables_->LoadFromStorage(child);
}

void TLevelRecords::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (storage) tables_->SaveToStorage(storage->AddChild(tables_->GetStorageName()));
}

bool TLevelRecords::LoadLevelRecords(const std::string& dataFolder, const std::string& applicationFolder) {
  file_ = TPlayerFile(dataFolder, kRecordsFileName, kRecordsKey);
  const StorageRef root = file_.Load(kRoot, applicationFolder);
  if (!root) return false;
  for (int i = 0; i < tables_->Count(); ++i)
    if (const auto table = tables_->ItemAs<TLevelRecordTable>(i)) table->GetRecords().Clear();
  LoadFromStorage(root);
  return true;
}

bool TLevelRecords::SaveLevelRecords() {
  return file_.SaveObject(kRoot, *this);
}

}  // namespace qv
