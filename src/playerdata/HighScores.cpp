#include "playerdata/HighScores.h"

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {
constexpr char kRoot[] = "highscores";
}

THighScores::THighScores() : tables_(MakeRef<TRecordTableCollection>()) {
  SetStorageName(kRoot);
  SetName(kRoot);
  tables_->Initialize();
}

const TPropertyTable<THighScores>& THighScores::Properties() {
  static const TPropertyTable<THighScores> table = TPropertyTable<THighScores>(TPersistObject::Properties());
  return table;
}

void THighScores::SetParam(const std::string& name, const std::string& value) {
  if (!SameText(name, "record_table")) return;
  const Ref<TRecordTable> table = CreateWithParams<TRecordTable>(value);
  if (!table || table->GetName().empty() || tables_->AddNamed(table) < 0)
    ReportDataError("record_table", "\"" + value + "\" names no new table; ignored");
}

bool THighScores::Qualifies(int score, const std::string& table) const {
  const Ref<TRecordTable> found = tables_->GetTable(table);
  return found && found->Qualifies(score);
}

Ref<TRecord> THighScores::AddRecord(const IParamCollection& values, const std::string& table) {
  const Ref<TRecordTable> found = tables_->GetTable(table);
  return found ? found->AddRecord(values) : nullptr;
}

Ref<TRecord> THighScores::AddRecordForNewPlayer(const IParamCollection& values, const std::string& table) {
  const Ref<TRecordTable> found = tables_->GetTable(table);
  return found ? found->AddRecordForNewPlayer(values) : nullptr;
}

bool THighScores::AddOrReplaceRecord(const IParamCollection& values, const std::string& table) {
  const Ref<TRecordTable> found = tables_->GetTable(table);
  return found && found->AddOrReplaceRecord(values);
}

void THighScores::ClearAllTables() {
  for (int i = 0; i < tables_->Count(); ++i)
    if (const auto table = tables_->ItemAs<TRecordTable>(i)) table->ClearRecords();
}

void THighScores::ResetAllLastInserted() {
  for (int i = 0; i < tables_->Count(); ++i)
    if (const auto table = tables_->ItemAs<TRecordTable>(i)) table->ResetLastInserted();
}

void THighScores::LoadFromStorage(const StorageRef& storage) {
  const std::string name = GetName();
  TPersistObject::LoadFromStorage(storage);
  SetName(name);  // always "highscores"
  if (storage)
    if (const StorageRef child = storage->GetChild(tables_->GetStorageName(), 0))
      tables_->LoadFromStorage(child);
}

void THighScores::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (storage) tables_->SaveToStorage(storage->AddChild(tables_->GetStorageName()));
}

bool THighScores::LoadHighScores(const std::string& dataFolder, const std::string& applicationFolder,
                                 bool shipped) {
  file_ = TPlayerFile(dataFolder, kHighScoresFileName, "");
  const StorageRef root = file_.Load(kRoot, applicationFolder, shipped);
  if (!root) return false;
  ClearAllTables();
  LoadFromStorage(root);
  return true;
}

bool THighScores::SaveHighScores() {
  return file_.SaveObject(kRoot, *this);
}

}  // namespace qv
