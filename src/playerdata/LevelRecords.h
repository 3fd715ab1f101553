// The level records of every mode, kept in "records.dat": read from the
// data folder (the application folder's copy when the data folder has
// none), written to the data folder, enciphered in hexadecimal form with
// the records key.
//
//   <highscores><levelrecordtables>
//     <levelrecordtable name="relax"><levelrecords/></levelrecordtable>
//     ...
//   </levelrecordtables></highscores>
//
// The tables exist from construction (the record tables template of
// core/Constants.h: "relax", "classic", "duel_computer", in this order).
#pragma once

#include <string>

#include "playerdata/LevelRecordTable.h"
#include "playerdata/PlayerFile.h"

namespace qv {

class ILevelRecords : public virtual IInterface {
protected:
  ~ILevelRecords() override = default;

public:
  virtual TLevelRecordTableCollection& GetLevelTables() = 0;
  // Nothing when the table does not exist.
  virtual Ref<TLevelRecord> SetLevelRecord(const std::string& table, int level,
                                           const IParamCollection& values) = 0;
  virtual bool SaveLevelRecords() = 0;
};

class TLevelRecords : public TPersistObject, public ILevelRecords {
protected:
  ~TLevelRecords() override = default;

public:
  TLevelRecords();
  // The game's records: the three tables of the template.
  static Ref<TLevelRecords> CreateStandard();

  // Creation string: each "level_record_table={name=...}" adds a table.
  void SetParam(const std::string& name, const std::string& value) override;

  TLevelRecordTableCollection& GetLevelTables() override { return *tables_; }
  Ref<TLevelRecord> SetLevelRecord(const std::string& table, int level,
                                   const IParamCollection& values) override;

  // Replaces the tables' records with those of "records.dat" (data folder,
  // else the application folder) and keeps the data folder's file for
  // saving. A damaged data-folder file is set aside (PlayerFile.h). True
  // when a file was loaded.
  bool LoadLevelRecords(const std::string& dataFolder, const std::string& applicationFolder);
  // Writes "records.dat" (whole, atomically). False without a file.
  bool SaveLevelRecords() override;
  const TPlayerFile& GetFile() const { return file_; }

  // The tables in the child "levelrecordtables".
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(TLevelRecords)

private:
  Ref<TLevelRecordTableCollection> tables_;
  TPlayerFile file_;
};

}  // namespace qv
