// A player's profile: the name, per-player values and an opaque data text
// in which the game keeps the player's progress.
//
//   <userprofile name="Anna">
//     <param name="classic_score" value="1200"/>
//     <datastorage>progress text</datastorage>
//   </userprofile>
#pragma once

#include <string>

#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"

namespace qv {

class IUserProfile : public virtual IInterface {
protected:
  ~IUserProfile() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual IParamCollection& GetParams() = 0;
  virtual const std::string& GetDataStorage() const = 0;
  virtual void SetDataStorage(const std::string& text) = 0;
};

class TUserProfile : public TPersistObject, public IUserProfile {
protected:
  ~TUserProfile() override = default;

public:
  TUserProfile();

  const std::string& GetName() const override { return TPersistObject::GetName(); }
  IParamCollection& GetParams() override { return *params_; }
  const std::string& GetDataStorage() const override { return dataStorage_; }
  void SetDataStorage(const std::string& text) override { dataStorage_ = text; }

  // "name"; then the params as "param" children of the profile's own node
  // and the data text in the child "datastorage" (read only when present,
  // written only when not empty). Values read again add to the ones there.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  QV_PROPERTY_TABLE(TUserProfile)

private:
  Ref<TParamCollection> params_;
  std::string dataStorage_;
};

}  // namespace qv
