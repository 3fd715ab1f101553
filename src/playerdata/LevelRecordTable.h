// One mode's level records ("levelrecordtable", named by the mode:
// "relax", "classic", "duel_computer").
//
//   <levelrecordtable name="classic"><levelrecords>...</levelrecords></levelrecordtable>
#pragma once

#include <string>

#include "playerdata/LevelRecord.h"

namespace qv {

class TLevelRecordTable : public TPersistObject {
protected:
  ~TLevelRecordTable() override = default;

public:
  TLevelRecordTable();

  // Creation string: "name=relax".
  void SetParam(const std::string& name, const std::string& value) override;

  // Nothing when the level has no record.
  Ref<TLevelRecord> GetRecord(int level) const;
  // The level's record (appended when missing) takes every named value of
  // `values`; values it holds already and `values` lacks stay.
  Ref<TLevelRecord> SetRecord(int level, const IParamCollection& values);
  TLevelRecordCollection& GetRecords() { return *records_; }

  // "name", then the records in the child "levelrecords". Loading adds to
  // the records there.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(TLevelRecordTable)

private:
  Ref<TLevelRecordCollection> records_;
};

// The tables ("levelrecordtables", items "levelrecordtable"). Loading
// fills only the tables that exist: a table of another name in a file is
// skipped (and reported); loading never creates a table.
class TLevelRecordTableCollection : public TPersistItemCollection {
protected:
  ~TLevelRecordTableCollection() override = default;

public:
  TLevelRecordTableCollection() {
    SetStorageName("levelrecordtables");
    SetItemElementName("levelrecordtable");
  }
  Ref<TLevelRecordTable> GetTable(const std::string& name) const { return ItemAs<TLevelRecordTable>(name); }
  void LoadItem(const StorageRef& storage) override;
};

}  // namespace qv
