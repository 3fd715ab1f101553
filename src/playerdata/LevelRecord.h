// One level's record in a mode's table: named free-form values (the game
// decides which), keyed by the level number in decimal.
//
//   <levelrecord name="7"><param name="Score" value="1200"/></levelrecord>
#pragma once

#include <string>

#include "storage/Collections.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"

namespace qv {

class TLevelRecord : public TPersistObject {
protected:
  ~TLevelRecord() override = default;

public:
  TLevelRecord();

  void SetInt(const std::string& name, long long value);
  void SetText(const std::string& name, const std::string& text);
  // The value as an integer; `def` when it is not one. A missing value
  // gives `def`, which is stored when `create` is true.
  long long GetInt(const std::string& name, long long def, bool create = false);
  std::string GetText(const std::string& name, const std::string& def, bool create = false);
  // The level number (the name), -1 when the name is not an integer.
  int GetNumber() const;
  IParamCollection& GetParams() { return *params_; }

  // "name", then the values as "param" children of the record's own node.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(TLevelRecord)

private:
  Ref<TParamCollection> params_;
};

// The records of one table ("levelrecords", items "levelrecord"), keyed by
// level; a second record of one level in a file is dropped and reported.
class TLevelRecordCollection : public TStaticCreationPersistItemCollection<TLevelRecord> {
protected:
  ~TLevelRecordCollection() override = default;

public:
  TLevelRecordCollection() {
    SetStorageName("levelrecords");
    SetItemElementName("levelrecord");
  }
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
  // Items load their content only (never an out-storage file).
  void LoadItem(const StorageRef& storage) override;
};

}  // namespace qv
