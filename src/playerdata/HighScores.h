// The high score tables, kept in "highscores.dat" as plain text: read from
// the data folder (the application folder's copy when the data folder has
// none, or always with `shipped`), written to the data folder.
//
//   <highscores name="highscores"><recordtables>
//     <recordtable name="classic"><records>...</records></recordtable>
//   </recordtables></highscores>
//
// Tables come only from the creation string ("record_table={...}" per
// table); the game makes the object with none.
#pragma once

#include <string>

#include "playerdata/PlayerFile.h"
#include "playerdata/RecordTable.h"

namespace qv {

class IHighScores : public virtual IInterface {
protected:
  ~IHighScores() override = default;

public:
  virtual TRecordTableCollection& GetTables() = 0;
  // The table operations of IRecordTable on the named table; false or
  // nothing when there is no such table.
  virtual bool Qualifies(int score, const std::string& table) const = 0;
  virtual Ref<TRecord> AddRecord(const IParamCollection& values, const std::string& table) = 0;
  virtual Ref<TRecord> AddRecordForNewPlayer(const IParamCollection& values, const std::string& table) = 0;
  virtual bool AddOrReplaceRecord(const IParamCollection& values, const std::string& table) = 0;
  virtual void ClearAllTables() = 0;
  virtual void ResetAllLastInserted() = 0;
  virtual bool SaveHighScores() = 0;
};

class THighScores : public TPersistObject, public IHighScores {
protected:
  ~THighScores() override = default;

public:
  THighScores();

  void SetParam(const std::string& name, const std::string& value) override;

  TRecordTableCollection& GetTables() override { return *tables_; }
  bool Qualifies(int score, const std::string& table) const override;
  Ref<TRecord> AddRecord(const IParamCollection& values, const std::string& table) override;
  Ref<TRecord> AddRecordForNewPlayer(const IParamCollection& values, const std::string& table) override;
  bool AddOrReplaceRecord(const IParamCollection& values, const std::string& table) override;
  void ClearAllTables() override;
  void ResetAllLastInserted() override;

  // Replaces the tables' records with those of "highscores.dat" and keeps
  // the data folder's file for saving. A damaged data-folder file is set
  // aside (PlayerFile.h). True when a file was loaded.
  bool LoadHighScores(const std::string& dataFolder, const std::string& applicationFolder,
                      bool shipped = false);
  bool SaveHighScores() override;
  const TPlayerFile& GetFile() const { return file_; }

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(THighScores)

private:
  Ref<TRecordTableCollection> tables_;
  TPlayerFile file_;
};

}  // namespace qv
