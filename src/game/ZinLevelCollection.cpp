#include "game/ZinLevelCollection.h"

#include <limits>

#include "core/StringUtils.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

void TZinLevelRef::Load(const StorageRef& storage) {
  const std::string level = ReadString(storage, "level", "");
  long long number = 0;
  if (!TryParseInt(level, number) || number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max())
    throw ELevelError("level list entry \"level\" is not an integer: '" + level + "'");
  SetName(level);
  number_ = static_cast<int32_t>(number);
  fileName_ = ReadString(storage, "filename", "");
  levelName_ = ReadString(storage, "LevelName", "");
  displayName_ = ReadString(storage, "DisplayName", "");
  artifact_ = ReadInt(storage, "artifact", 0);
  history_ = ReadInt(storage, "history", 0);
}

void TZinLevelRef::Save(const StorageRef& storage) {
  if (!storage) return;
  WriteString(storage, "level", GetName());
  WriteString(storage, "filename", fileName_, !fileName_.empty());
  WriteString(storage, "LevelName", levelName_, !levelName_.empty());
  WriteString(storage, "DisplayName", displayName_, !displayName_.empty());
  WriteInt(storage, "artifact", artifact_, artifact_ != 0);
  WriteInt(storage, "history", history_, history_ != 0);
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
    AddNamed(entry);
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
