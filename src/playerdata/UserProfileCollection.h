// The players' profiles, kept in "users.dat" in the data folder: the
// profiles in insertion order, keyed by name (names ignore case), and the
// current one.
//
//   <userprofiles current_user_profile_name="Anna">
//     <userprofile name="Anna">...</userprofile>
//   </userprofiles>
//
// enciphered in hexadecimal form with the profiles key.
//
// Saving: once the collection has a file (LoadProfiles or SetFile),
// creating, selecting and deleting a profile save the whole file at once,
// so a player's choice survives a crash; the game calls SaveProfiles
// whenever it has changed a profile's values or data text (the board after
// each level's result, and at Finish). A file that cannot be read is set aside
// before the first save (PlayerFile.h).
#pragma once

#include <string>

#include "playerdata/PlayerFile.h"
#include "playerdata/UserProfile.h"
#include "storage/Collections.h"

namespace qv {

class IUserProfileCollection : public virtual IInterface {
protected:
  ~IUserProfileCollection() override = default;

public:
  virtual int GetProfileCount() const = 0;
  virtual Ref<IUserProfile> GetProfileAt(int index) const = 0;
  // Names ignore case; nothing when absent.
  virtual Ref<IUserProfile> GetProfile(const std::string& name) const = 0;
  virtual Ref<IUserProfile> GetCurrentProfile() const = 0;
  // None current when no profile has that name. Saves.
  virtual void SetCurrentProfile(const std::string& name) = 0;
  // The profile of that name (in any case), or a new empty one appended
  // (saved). Nothing for an empty name.
  virtual Ref<IUserProfile> AddProfile(const std::string& name) = 0;
  // Deleting the current profile leaves none current. Saves.
  virtual void DeleteProfile(const std::string& name) = 0;
  virtual bool SaveProfiles() = 0;
};

class TUserProfileCollection : public TPersistItemCollection, public IUserProfileCollection {
protected:
  ~TUserProfileCollection() override = default;

public:
  TUserProfileCollection();

  int GetProfileCount() const override { return Count(); }
  Ref<IUserProfile> GetProfileAt(int index) const override { return ItemAs<IUserProfile>(index); }
  Ref<IUserProfile> GetProfile(const std::string& name) const override { return ItemAs<IUserProfile>(name); }
  Ref<IUserProfile> GetCurrentProfile() const override { return current_; }
  void SetCurrentProfile(const std::string& name) override;
  Ref<IUserProfile> AddProfile(const std::string& name) override;
  void DeleteProfile(const std::string& name) override { Delete(std::string_view(name)); }
  // False without a file, or when the file cannot be written.
  bool SaveProfiles() override;

  // Replaces the profiles with those of "users.dat" in the data folder and
  // keeps that file as the collection's. A missing file gives an empty collection with none current; a
  // damaged one is set aside and reported, and gives the same. True when a
  // file was loaded.
  bool LoadProfiles(const std::string& dataFolder);
  // Makes `dataFolder`'s "users.dat" the file without reading it.
  void SetFile(const std::string& dataFolder);
  const TPlayerFile& GetFile() const { return file_; }

  // Collection deletes look the current profile up again by its name.
  void Delete(int index) override;
  void Delete(std::string_view key) override;
  void Clear() override;

  // Items first, then "current_user_profile_name" selects the current one.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  // A "userprofile" child adds to the profile of its name (AddProfile), so
  // a second entry of one name loads again into the first.
  void LoadItem(const StorageRef& storage) override;
  static const TPropertyTable<TUserProfileCollection>& Properties();

private:
  std::string CurrentName() const { return current_ ? current_->GetName() : std::string(); }
  void SelectCurrent(const std::string& name);
  Ref<TUserProfile> FindOrAdd(const std::string& name, bool& added);
  void SaveAfterChange();

  Ref<TUserProfile> current_;
  TPlayerFile file_;
  bool loading_ = false;
};

}  // namespace qv
