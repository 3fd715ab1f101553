// The level list: numbered entries that name each level and point at its
// file. `TZinLevelRef` is one entry, `TZinLevelCollection` the list.
#pragma once

#include <cstdint>
#include <string>

#include "core/Ref.h"
#include "game/ZinLevel.h"
#include "storage/Collections.h"

namespace qv {

class TZinLevelRef : public TNamedObject, public IPersistent {
protected:
  ~TZinLevelRef() override = default;

public:
  // Reads "level" (its name and number), "filename", "LevelName",
  // "DisplayName", "artifact", "history". Throws ELevelError when "level" is
  // not an integer.
  void Load(const StorageRef& storage) override;
  // Writes the same keys; empty texts and zero numbers are left out.
  void Save(const StorageRef& storage) override;
  std::string GetStorageName() const override { return "level"; }
  static const TPropertyTable<TZinLevelRef>& Properties();

  int32_t GetNumber() const { return number_; }
  const std::string& GetFileName() const { return fileName_; }
  const std::string& GetLevelName() const { return levelName_; }
  const std::string& GetDisplayName() const { return displayName_; }
  int32_t GetArtifact() const { return artifact_; }
  int32_t GetHistory() const { return history_; }

private:
  // The entry's name is the "level" text, its number the value.
  void SetLevel(const std::string& level);

  int32_t number_ = 0;
  std::string fileName_;
  std::string levelName_;
  std::string displayName_;
  int32_t artifact_ = 0;
  int32_t history_ = 0;
};

class TZinLevelCollection : public TCollection, public IPersistent {
protected:
  ~TZinLevelCollection() override = default;

public:
  // Replaces the entries with every child "level" in document order. An
  // entry whose "level" is not an integer aborts the load (ELevelError);
  // the entries read before it stay.
  void Load(const StorageRef& storage) override;
  // One child "level" per entry, in order.
  void Save(const StorageRef& storage) override;
  std::string GetStorageName() const override { return "levels"; }

  // Nothing when the number is not in the list.
  Ref<TZinLevelRef> Find(int number) const;
  // 0 or empty for a number not in the list.
  int32_t GetArtifact(int number) const;
  std::string GetDisplayName(int number) const;
  int32_t GetHistory(int number) const;
  std::string GetLevelName(int number) const;

  // Opens the entry's file and loads a new level from its root; nothing when
  // the entry or the file is missing or the level cannot be loaded.
  Ref<TZinLevel> LoadLevel(int number) const;
};

// Loads a level from a storage file (through the data paths). Nothing when
// the file is missing or unreadable; ELevelError when its content is bad.
Ref<TZinLevel> LoadLevelFile(const std::string& path);

}  // namespace qv
