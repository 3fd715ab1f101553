#include "app/CustomSettings.h"

#include "app/IEngine.h"
#include "core/Diagnostics.h"
#include "storage/XMLStorage.h"

namespace qv {

TCustomSettings::TCustomSettings() : commands_(MakeRef<TSettingsCommandCollection>()) {
  SetStorageName("custom_setting");
  SetName("custom_setting");
  commands_->Initialize();
}

const TPropertyTable<TCustomSettings>& TCustomSettings::Properties() {
  static const TPropertyTable<TCustomSettings> table =
      TPropertyTable<TCustomSettings>(TPersistObject::Properties())
          .String("filename", &TCustomSettings::fileName_)
          .Always()
          .String("key", &TCustomSettings::key_);
  return table;
}

void TCustomSettings::LoadCommandsFrom(const StorageRef& root) {
  StorageRef node = root;
  if (root && root->GetNodeName() != commands_->GetStorageName())
    if (const StorageRef child = root->GetChild(commands_->GetStorageName(), 0)) node = child;
  commands_->Clear();
  commands_->LoadFromStorage(node);
}

bool TCustomSettings::LoadCommands(IEngine& engine) {
  if (fileName_.empty()) return false;
  const std::string text = engine.LoadText(fileName_, key_);
  const StorageRef root = text.empty() ? nullptr : LoadStorageText(text);
  if (!root) {
    ReportDataError(fileName_,
                    "the custom settings file is missing or does not parse; its commands are not run");
    return false;
  }
  LoadCommandsFrom(root);
  return true;
}

void ExecuteCustomSettings(TCustomSettingsCollection& settings, IEngine& engine, ICustomSettingsHost& host) {
  for (int i = 0; i < settings.Count(); ++i) {
    const auto setting = settings.ItemAs<TCustomSettings>(i);
    if (!setting) continue;
    setting->LoadCommands(engine);
    setting->GetCommands().ExecuteAll(&engine, host);
  }
}

}  // namespace qv
