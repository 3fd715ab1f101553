// The commands of a custom settings file, created by their "type":
//
//   <commands>
//     <command type="param_command" paramname="ShowHints" value="no"/>
//     <command type="load_resource_command" groupname="extra">
//       <storage_string><resources><content>...</content></resources></storage_string>
//     </command>
//     <command type="add_widget_command" gamescreenname="main" parent_widget_name="panel">
//       <storage_string><widget type="rect_widget" name="badge"/></storage_string>
//     </command>
//     <command type="widget_change_property_value_command" gamescreenname="main"
//              widgetname="panel\title" paramname="text" value="Hello"/>
//   </commands>
//
// "storage_string" is a child holding a whole storage element (read as
// the markup of its children, or its text). A command that cannot do its
// work says why through ReportDataError and changes nothing.
#pragma once

#include <string>

#include "app/ICustomSettingsHost.h"
#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class IEngine;

class TAbstractSettingsCommand : public TPersistObject {
protected:
  ~TAbstractSettingsCommand() override = default;

public:
  TAbstractSettingsCommand() { SetStorageName("command"); }
  // `engine` may be null (commands that need it then do nothing).
  virtual void Execute(IEngine* engine, ICustomSettingsHost& host) {
    (void)engine;
    (void)host;
  }
};

// A command with a "storage_string" child (written when not empty).
class TStorageStringCommand : public TAbstractSettingsCommand {
protected:
  ~TStorageStringCommand() override = default;

public:
  const std::string& GetStorageString() const { return storageString_; }
  void SetStorageString(const std::string& text) { storageString_ = text; }
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

protected:
  // The parsed storage string; empty (reported) when it does not parse.
  StorageRef ParsedStorage() const;

private:
  std::string storageString_;
};

// "param_command": SetOptionNoSave("paramname", "value") when the name is
// not empty.
class TParamSettingsCommand : public TAbstractSettingsCommand {
protected:
  ~TParamSettingsCommand() override = default;

public:
  void Execute(IEngine* engine, ICustomSettingsHost& host) override;
  QV_PROPERTY_TABLE(TParamSettingsCommand)

private:
  std::string paramName_;
  std::string value_;
};

// "load_resource_command": the engine loads the resources of the storage
// string under the tag "groupname", without pumping.
class TLoadResourcesSettingsCommand : public TStorageStringCommand {
protected:
  ~TLoadResourcesSettingsCommand() override = default;

public:
  void Execute(IEngine* engine, ICustomSettingsHost& host) override;
  QV_PROPERTY_TABLE(TLoadResourcesSettingsCommand)

private:
  std::string groupName_;
};

// "add_widget_command": the widget of the storage string goes into the
// widget "parent_widget_name" of the screen "gamescreenname" (the screen's
// root when no widget has that path), replacing a child of its name.
class TAddWidgetSettingsCommand : public TStorageStringCommand {
protected:
  ~TAddWidgetSettingsCommand() override = default;

public:
  void Execute(IEngine* engine, ICustomSettingsHost& host) override;
  QV_PROPERTY_TABLE(TAddWidgetSettingsCommand)

private:
  std::string screenName_;
  std::string parentName_;
};

// "widget_change_property_value_command": "widgetname" is a path of child
// names separated by "\" from the screen's root children; the widget found
// gets the property "paramname" = "value".
class TWidgetChangePropertyValueSettingsCommand : public TAbstractSettingsCommand {
protected:
  ~TWidgetChangePropertyValueSettingsCommand() override = default;

public:
  void Execute(IEngine* engine, ICustomSettingsHost& host) override;
  QV_PROPERTY_TABLE(TWidgetChangePropertyValueSettingsCommand)

private:
  std::string screenName_;
  std::string widgetName_;
  std::string paramName_;
  std::string value_;
};

// A settings file's commands ("commands", items "command", created by type).
class TSettingsCommandCollection : public TTypedCreationPersistItemCollection {
protected:
  ~TSettingsCommandCollection() override = default;

public:
  TSettingsCommandCollection() {
    SetStorageName("commands");
    SetItemElementName("command");
  }
  void AddItem(const Ref<IInterface>& item) override;
  void ExecuteAll(IEngine* engine, ICustomSettingsHost& host);
};

// Registers the four command types.
void RegisterSettingsCommandTypes();

}  // namespace qv
