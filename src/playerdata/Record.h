// One ranked record of a high score table: parameters made from the
// table's record structure ("\param=Player\param=Score"), stored as
//
//   <record name="Record3"><params><param name="Player">Anna</param>
//   <param name="Score">1200</param></params></record>
//
// "Score" is the integer score (-1 without a usable one), "Player" the
// player's name, "Const" = "yes" marks a preset record no result replaces.
#pragma once

#include <string>

#include "storage/Collections.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"

namespace qv {

class IRecord : public virtual IInterface {
protected:
  ~IRecord() override = default;

public:
  virtual IParamCollection& GetParams() = 0;
  virtual int GetScore() const = 0;
};

class TRecord : public TPersistObject, public IRecord {
protected:
  ~TRecord() override = default;

public:
  // Named "Record" and a number counted for the whole process.
  TRecord();

  // Creation string: each "param=NAME" adds an empty parameter.
  void SetParam(const std::string& name, const std::string& value) override;

  IParamCollection& GetParams() override { return *params_; }
  int GetScore() const override;
  // The text of a parameter; empty when missing.
  std::string GetText(const std::string& name) const;

  // The name is written, never read (a loaded record keeps its own, which
  // is unique in the process). A "param" whose name matches one of the
  // record's parameters takes its text, expanded as a macro text (not
  // trimmed); other names are ignored.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(TRecord)

private:
  Ref<TParamCollection> params_;
};

// The integer "Score" of parameters; `def` when missing or not an integer.
int ScoreOf(const IParamCollection& params, int def);

// The records of a table in rank order ("records", items "record").
class TRecordCollection : public TPersistItemCollection {
protected:
  ~TRecordCollection() override = default;

public:
  TRecordCollection() {
    SetStorageName("records");
    SetItemElementName("record");
  }
  Ref<TRecord> RecordAt(int index) const { return ItemAs<TRecord>(index); }
  int Append(const Ref<TRecord>& record) { return Insert(-1, record->GetName(), record); }
  // Moves the record at `from` to `to`, keeping its key.
  void Move(int from, int to);
};

}  // namespace qv
