#include "game/ZinLevelCollection.h"

#include <limits>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {

// The "level" text must be a 32-bit integer.
std::string ReadLevelNumber(const StorageRef& storage, const std::string& key) {
  const std::string level = ReadString(storage, key, "");
  long long number = 0;
  if (!TryParseInt(level, number) || number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max())
    throw ELevelError("level list entry \"level\" is not an integer: '" + level + "'");
  return level;
}

}  // namespace

const TPropertyTable<TZinLevelRef>& TZinLevelRef::Properties() {
  static const TPropertyTable<TZinLevelRef> table =
      TPropertyTable<TZinLevelRef>()
          .String("level", &TZinLevelRef::GetName, &TZinLevelRef::SetLevel)
          .Always()
          .Read(ReadLevelNumber)
          .String("filename", &TZinLevelRef::fileName_)
          .String("LevelName", &TZinLevelRef::levelName_)
          .String("DisplayName", &TZinLevelRef::displayName_)
          .Int("artifact", &TZinLevelRef::artifact_)
          .Int("history", &TZinLevelRef::history_);
  return table;
}

void TZinLevelRef::SetLevel(const std::string& level) {
  SetName(level);
  long long number = 0;
  number_ = TryParseInt(level, number) ? static_cast<int32_t>(number) : 0;
}

void TZinLevelRef::Load(const StorageRef& storage) {
  Properties().Load(*this, storage);
}

void TZinLevelRef::Save(const StorageRef& storage) {
  Properties().Save(*this, storage);
}

void TZinLevelCollection::Save(const StorageRef& storage) {
  if (!storage) return;
  for (int i = 0; i < Count(); ++i)
    if (const auto entry = ItemAs<TZinLevelRef>(i)) entry->Save(storage->AddChild("level"));
}

void TZinLevelCollection::Load(const StorageRef& storage) {
  Clear();
  if (!storage) return;
  const int count = storage->GetChildCount("level");
  for (int i = 0; i < count; ++i) {
    auto entry = MakeRef<TZinLevelRef>();
    entry->Load(storage->GetChild("level", i));
    if (AddNamed(entry) < 0)
      ReportDataError("levels", "a second entry for level " + entry->GetName() + " is dropped");
  }
}

Ref<TZinLevelRef> TZinLevelCollection::Find(int number) const {
  return ItemAs<TZinLevelRef>(std::to_string(number));
}

int32_t TZinLevelCollection::GetArtifact(int number) const {
  const auto entry = Find(number);
  return entry ? entry->GetArtifact() : 0;
}

std::string TZinLevelCollection::GetDisplayName(int number) const {
  const auto entry = Find(number);
  return entry ? entry->GetDisplayName() : std::string();
}

int32_t TZinLevelCollection::GetHistory(int number) const {
  const auto entry = Find(number);
  return entry ? entry->GetHistory() : 0;
}

std::string TZinLevelCollection::GetLevelName(int number) const {
  const auto entry = Find(number);
  return entry ? entry->GetLevelName() : std::string();
}

Ref<TZinLevel> LoadLevelFile(const std::string& path) {
  const StorageRef root = LoadStorageFile(path);
  if (!root) return nullptr;
  auto level = MakeRef<TZinLevel>();
  level->Load(root);
  return level;
}

Ref<TZinLevel> TZinLevelCollection::LoadLevel(int number) const {
  const auto entry = Find(number);
  if (!entry) return nullptr;
  try {
    return LoadLevelFile(entry->GetFileName());
  } catch (const ELevelError&) {
    return nullptr;  // the board shows an empty level
  }
}

}  // namespace qv
