// A high score table: records ranked by score (highest first, equal
// scores in the order they came), at most "max_records" of them.
//
// Made only from its creation string:
//   "name=classic\record_structure={\param=Player\param=Score}\max_records=10"
// and stored as
//   <recordtable name="classic"><records><record .../></records></recordtable>
#pragma once

#include <string>

#include "playerdata/Record.h"

namespace qv {

class IRecordTable : public virtual IInterface {
protected:
  ~IRecordTable() override = default;

public:
  virtual TRecordCollection& GetRecords() = 0;
  // Position of the record inserted last; -1 when none.
  virtual int GetLastInserted() const = 0;
  virtual void ResetLastInserted() = 0;
  virtual bool Qualifies(int score) const = 0;
  // A new record from `values` when their score qualifies; nothing otherwise.
  virtual Ref<TRecord> AddRecord(const IParamCollection& values) = 0;
  // As AddRecord, but only for a player who has no record yet (preset
  // records do not count).
  virtual Ref<TRecord> AddRecordForNewPlayer(const IParamCollection& values) = 0;
  // The player's own (not preset) record takes the values, whatever its
  // old score, when the new score qualifies; a player without one gets a
  // new record. True when the order changed or a record was added.
  virtual bool AddOrReplaceRecord(const IParamCollection& values) = 0;
  virtual void ClearRecords() = 0;
};

class TRecordTable : public TPersistObject, public IRecordTable {
protected:
  ~TRecordTable() override = default;

public:
  static constexpr int kDefaultMaxRecords = 10;

  TRecordTable();

  // "name", "record_structure" (creation string of every new record),
  // "max_records" (an integer; 10 when missing or not an integer).
  void SetParam(const std::string& name, const std::string& value) override;

  TRecordCollection& GetRecords() override { return *records_; }
  int GetLastInserted() const override { return lastInserted_; }
  void ResetLastInserted() override { lastInserted_ = -1; }
  bool Qualifies(int score) const override;
  Ref<TRecord> AddRecord(const IParamCollection& values) override;
  Ref<TRecord> AddRecordForNewPlayer(const IParamCollection& values) override;
  bool AddOrReplaceRecord(const IParamCollection& values) override;
  void ClearRecords() override;

  int GetMaxRecords() const { return maxRecords_; }
  const std::string& GetRecordStructure() const { return structure_; }
  // A record with the parameters of the structure, all empty.
  Ref<TRecord> NewRecord() const;
  // Ranks the records (highest score first, a stable order for equal
  // scores). False when they were in order already.
  bool Sort();

  // "name", then the records of the child "records", each inserted
  // (ranked, the table trimmed to its maximum); afterwards no record
  // counts as inserted last.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(TRecordTable)

private:
  // Appends, ranks, remembers the position and trims to the maximum.
  void InsertRecord(const Ref<TRecord>& record);
  Ref<TRecord> Added(const IParamCollection& values);

  Ref<TRecordCollection> records_;
  std::string structure_;
  int maxRecords_ = kDefaultMaxRecords;
  int lastInserted_ = -1;
};

// The tables of the high scores ("recordtables", items "recordtable").
// Loading fills the tables that exist and skips others (reported).
class TRecordTableCollection : public TPersistItemCollection {
protected:
  ~TRecordTableCollection() override = default;

public:
  TRecordTableCollection() {
    SetStorageName("recordtables");
    SetItemElementName("recordtable");
  }
  Ref<TRecordTable> GetTable(const std::string& name) const { return ItemAs<TRecordTable>(name); }
  void LoadItem(const StorageRef& storage) override;
};

}  // namespace qv
