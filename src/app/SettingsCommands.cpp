#include "app/SettingsCommands.h"

#include <stdexcept>

#include "app/IEngine.h"
#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "screens/IGSCollection.h"
#include "screens/IGameScreenSlave.h"
#include "storage/ClassRegistry.h"
#include "storage/Params.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetCollection.h"
#include "widgets/IWindow.h"

namespace qv {

namespace {

constexpr char kStorageString[] = "storage_string";

// The screen of that name and its window; reports and gives null when
// either is missing.
IGameScreenSlave* FindScreen(ICustomSettingsHost& host, const std::string& name, const std::string& where,
                             Ref<IGameScreenSlave>& holder) {
  IGSCollection* screens = host.GetScreens();
  holder = screens ? screens->GetItem(name) : nullptr;
  if (!holder || !holder->GetWindow() || !holder->GetWindow()->GetRootChildren()) {
    ReportDataError(where, "no screen \"" + name + "\" with widgets; nothing is done");
    return nullptr;
  }
  return holder.get();
}

}  // namespace

void TStorageStringCommand::LoadFromStorage(const StorageRef& storage) {
  TAbstractSettingsCommand::LoadFromStorage(storage);
  if (!storage) return;
  if (const auto value = storage->ReadChildValue(kStorageString)) storageString_ = *value;
}

void TStorageStringCommand::SaveToStorage(const StorageRef& storage) {
  TAbstractSettingsCommand::SaveToStorage(storage);
  if (storage && !storageString_.empty()) storage->WriteChildValue(kStorageString, storageString_);
}

StorageRef TStorageStringCommand::ParsedStorage() const {
  StorageRef root = storageString_.empty() ? nullptr : LoadStorageText(storageString_);
  if (!root) ReportDataError(GetTypeName(), "the storage_string is empty or does not parse; nothing is done");
  return root;
}

const TPropertyTable<TParamSettingsCommand>& TParamSettingsCommand::Properties() {
  static const TPropertyTable<TParamSettingsCommand> table =
      TPropertyTable<TParamSettingsCommand>(TPersistObject::Properties())
          .String("paramname", &TParamSettingsCommand::paramName_)
          .Always()
          .String("value", &TParamSettingsCommand::value_)
          .Always();
  return table;
}

void TParamSettingsCommand::Execute(IEngine*, ICustomSettingsHost& host) {
  if (!paramName_.empty()) host.SetOptionNoSave(paramName_, value_);
}

const TPropertyTable<TLoadResourcesSettingsCommand>& TLoadResourcesSettingsCommand::Properties() {
  static const TPropertyTable<TLoadResourcesSettingsCommand> table =
      TPropertyTable<TLoadResourcesSettingsCommand>(TPersistObject::Properties())
          .String("groupname", &TLoadResourcesSettingsCommand::groupName_)
          .Always();
  return table;
}

void TLoadResourcesSettingsCommand::Execute(IEngine* engine, ICustomSettingsHost&) {
  if (!engine) return;
  if (const StorageRef root = ParsedStorage()) engine->LoadResources(root, groupName_, false);
}

const TPropertyTable<TAddWidgetSettingsCommand>& TAddWidgetSettingsCommand::Properties() {
  static const TPropertyTable<TAddWidgetSettingsCommand> table =
      TPropertyTable<TAddWidgetSettingsCommand>(TPersistObject::Properties())
          .String("gamescreenname", &TAddWidgetSettingsCommand::screenName_)
          .Always()
          .String("parent_widget_name", &TAddWidgetSettingsCommand::parentName_)
          .Always();
  return table;
}

void TAddWidgetSettingsCommand::Execute(IEngine*, ICustomSettingsHost& host) {
  const std::string where = "add_widget_command";
  Ref<IGameScreenSlave> holder;
  IGameScreenSlave* screen = FindScreen(host, screenName_, where, holder);
  if (!screen) return;
  // A parent that does not exist: the screen's root takes the widget.
  Ref<IWidget> parent = parentName_.empty() ? nullptr : screen->GetWindow()->FindWidget(parentName_);
  if (!parent) parent = screen->GetRootWidget();
  IWidgetCollection* children = parent ? parent->GetChildren() : nullptr;
  if (!children) {
    ReportDataError(where, "the parent \"" + parentName_ + "\" holds no widgets; nothing is added");
    return;
  }
  const StorageRef root = ParsedStorage();
  if (!root) return;
  const std::string type = ReadString(root, "type", "");
  const std::string name = ReadString(root, "name", "");
  try {
    const Ref<TAbstractObject> object = CreateFromType(type, name);
    const Ref<IWidget> widget = Query<IWidget>(object);
    if (!widget) {
      if (object)
        ReportDataError(where, "the type \"" + type + "\" is no widget; nothing is added");
      else
        ReportUnknownType(where, type);
      return;
    }
    if (const Ref<IPersistent> persistent = Query<IPersistent>(object)) persistent->Load(root);
    if (const int old = children->IndexOfName(widget->GetName()); old >= 0) {
      children->GetWidget(old)->SetDead(true);
      children->RemoveDead();
    }
    children->InsertWidget(widget);
  } catch (const std::runtime_error& e) {
    ReportDataError(where, std::string("the widget did not load: ") + e.what());
  }
}

const TPropertyTable<TWidgetChangePropertyValueSettingsCommand>&
TWidgetChangePropertyValueSettingsCommand::Properties() {
  using T = TWidgetChangePropertyValueSettingsCommand;
  static const TPropertyTable<T> table = TPropertyTable<T>(TPersistObject::Properties())
                                             .String("gamescreenname", &T::screenName_)
                                             .Always()
                                             .String("widgetname", &T::widgetName_)
                                             .Always()
                                             .String("paramname", &T::paramName_)
                                             .Always()
                                             .String("value", &T::value_)
                                             .Always();
  return table;
}

void TWidgetChangePropertyValueSettingsCommand::Execute(IEngine*, ICustomSettingsHost& host) {
  const std::string where = "widget_change_property_value_command";
  Ref<IGameScreenSlave> holder;
  IGameScreenSlave* screen = FindScreen(host, screenName_, where, holder);
  if (!screen) return;
  Ref<IWidget> widget;
  IWidgetCollection* children = screen->GetWindow()->GetRootChildren();
  for (const std::string& part : SplitParams(widgetName_, '\\')) {
    widget = children ? children->GetWidgetByName(part) : nullptr;
    if (!widget) {
      ReportDataError(where, "no widget \"" + widgetName_ + "\" on screen \"" + screenName_ + "\"");
      return;
    }
    children = widget->GetChildren();
  }
  if (!widget) return;
  try {
    if (!widget->SetPropertyValue(paramName_, value_))
      ReportDataError(where,
                      "the widget \"" + widgetName_ + "\" has no writable property \"" + paramName_ + "\"");
  } catch (const std::runtime_error& e) {
    ReportDataError(where, std::string("setting \"") + paramName_ + "\" failed: " + e.what());
  }
}

void TSettingsCommandCollection::AddItem(const Ref<IInterface>& item) {
  if (!Query<TAbstractSettingsCommand>(item)) {
    ReportDataError("commands", "an item that is no settings command is dropped");
    return;
  }
  AddKeepingAll(item);
}

void TSettingsCommandCollection::ExecuteAll(IEngine* engine, ICustomSettingsHost& host) {
  for (int i = 0; i < Count(); ++i)
    if (const auto command = ItemAs<TAbstractSettingsCommand>(i)) command->Execute(engine, host);
}

void RegisterSettingsCommandTypes() {
  RegisterClass<TParamSettingsCommand>("param_command");
  RegisterClass<TAddWidgetSettingsCommand>("add_widget_command");
  RegisterClass<TWidgetChangePropertyValueSettingsCommand>("widget_change_property_value_command");
  RegisterClass<TLoadResourcesSettingsCommand>("load_resource_command");
}

}  // namespace qv
