// Custom settings: adjustments the shipped data make after the game has
// started, without changing the game description. Each "custom_setting"
// of the description's "custom_settings" names a command file ("filename",
// deciphered with "key" when given) whose commands run in order.
//
//   <custom_settings>
//     <custom_setting filename="data\ini\extra.xml" key=""/>
//   </custom_settings>
#pragma once

#include <string>

#include "app/SettingsCommands.h"

namespace qv {

class TCustomSettings : public TPersistObject {
protected:
  ~TCustomSettings() override = default;

public:
  TCustomSettings();

  // Reads the command file through the engine's LoadText. A file that is
  // missing or does not parse is reported and leaves the commands as they
  // were. True when the commands were replaced.
  bool LoadCommands(IEngine& engine);
  // Loads the commands from a parsed file: its root when it is "commands",
  // else its child "commands".
  void LoadCommandsFrom(const StorageRef& root);
  TSettingsCommandCollection& GetCommands() { return *commands_; }

  QV_PROPERTY_TABLE(TCustomSettings)

private:
  std::string fileName_;
  std::string key_;
  Ref<TSettingsCommandCollection> commands_;
};

class TCustomSettingsCollection : public TStaticCreationPersistItemCollection<TCustomSettings> {
protected:
  ~TCustomSettingsCollection() override = default;

public:
  TCustomSettingsCollection() {
    SetStorageName("custom_settings");
    SetItemElementName("custom_setting");
  }
  // Several settings may share a name: all are kept, in order.
  void AddItem(const Ref<IInterface>& item) override { AddKeepingAll(item); }
};

// For each custom setting in order: load its command file, then run its
// commands with the engine and the game.
void ExecuteCustomSettings(TCustomSettingsCollection& settings, IEngine& engine, ICustomSettingsHost& host);

}  // namespace qv
