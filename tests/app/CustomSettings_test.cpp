#include "app/CustomSettings.h"

#include <gtest/gtest.h>

#include <map>

#include "app/Engine.h"
#include "app/RegisterTypes.h"
#include "core/Diagnostics.h"
#include "resources/ResourceCollection.h"
#include "screens/IGSCollection.h"
#include "screens/IGameScreenSlave.h"
#include "storage/Cipher.h"
#include "support/TestSupport.h"
#include "widgets/IWidgetCollection.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

// A screen as the commands see it: a name, a window and a root widget.
class TFakeGameScreen : public TAbstractObject, public IGameScreenSlave {
public:
  TFakeGameScreen(std::string name, Ref<test::TFakeScreen> window)
      : name_(std::move(name)), window_(std::move(window)) {}
  const std::string& GetName() const override { return name_; }
  void SetName(const std::string& name) override { name_ = name; }
  void SetOwner(IGameScreenOwner*) override {}
  void Detach() override {}
  void Show(IParamCollection*) override {}
  void Hide() override {}
  void Activate() override {}
  void Deactivate() override {}
  void Update(int) override {}
  void Draw(ISurface*) override {}
  TRect GetRect() override { return {}; }
  void Idle() override {}
  bool MouseEvent(unsigned, TPoint, unsigned) override { return false; }
  bool KeyEvent(unsigned, unsigned, unsigned) override { return false; }
  void WindowFocusChanged(bool) override {}
  void ScreenClosed(const std::string&, IParamCollection*) override {}
  IWindow* GetWindow() override { return window_.get(); }
  Ref<IWidget> GetRootWidget() override { return root; }
  bool UpdateDirty() override { return false; }
  bool IsVisible() override { return true; }

  Ref<IWidget> root;

protected:
  ~TFakeGameScreen() override = default;

private:
  std::string name_;
  Ref<test::TFakeScreen> window_;
};

class TFakeHost : public TAbstractObject, public ICustomSettingsHost, public IGSCollection {
public:
  void SetOptionNoSave(const std::string& name, const std::string& value) override { options[name] = value; }
  IGSCollection* GetScreens() override { return this; }
  int GetCount() const override { return static_cast<int>(screens.size()); }
  Ref<IGameScreenSlave> GetItem(int index) override { return screens.at(static_cast<size_t>(index)); }
  Ref<IGameScreenSlave> GetItem(const std::string& name) override {
    for (const auto& s : screens)
      if (SameText(s->GetName(), name)) return s;
    return nullptr;
  }
  std::map<std::string, std::string> options;
  std::vector<Ref<IGameScreenSlave>> screens;

protected:
  ~TFakeHost() override = default;
};

class CustomSettingsTest : public test::TWidgetTest {
protected:
  void SetUp() override {
    test::TWidgetTest::SetUp();
    RegisterSettingsCommandTypes();
    root = Attach(
        "<w type='group_widget' name='root'><widgets>"
        "<widget type='group_widget' name='panel'><widgets>"
        "<widget type='rect_widget' name='title' width='10'/></widgets></widget>"
        "<widget type='rect_widget' name='badge' width='1'/>"
        "</widgets></w>");
    main = MakeRef<TFakeGameScreen>("main", screen);
    main->root = root;
    host->screens.push_back(main);
  }
  // Commands parsed from a file's text.
  Ref<TCustomSettings> Commands(const std::string& xml) {
    Ref<TCustomSettings> settings = MakeRef<TCustomSettings>();
    settings->Initialize();
    settings->LoadCommandsFrom(LoadStorageText(xml));
    return settings;
  }
  void Run(const std::string& xml, IEngine* e = nullptr) {
    Commands(xml)->GetCommands().ExecuteAll(e, *host);
  }
  int Width(const std::string& path) {
    return static_cast<int>(VarToInt(root->FindWidget(path)->GetPropertyValue("width")));
  }

  Ref<IWidget> root;
  Ref<TFakeGameScreen> main;
  Ref<TFakeHost> host = MakeRef<TFakeHost>();
};

TEST_F(CustomSettingsTest, ParamCommandSetsOptionsWithoutSaving) {
  Run("<commands><command type='param_command' paramname='ShowHints' value='no'/>"
      "<command type='param_command' paramname='' value='lost'/></commands>");
  EXPECT_EQ(host->options, (std::map<std::string, std::string>{{"ShowHints", "no"}}));
}

TEST_F(CustomSettingsTest, AddWidgetGoesToTheParentOrTheRootAndReplacesItsName) {
  Run("<commands>"
      "<command type='add_widget_command' gamescreenname='MAIN' parent_widget_name='panel'>"
      "<storage_string><widget type='rect_widget' name='title' width='77'/></storage_string></command>"
      "<command type='add_widget_command' gamescreenname='main' parent_widget_name='nowhere'>"
      "<storage_string><widget type='rect_widget' name='extra' width='5'/></storage_string></command>"
      "</commands>");
  EXPECT_EQ(root->FindWidget("panel")->GetChildren()->GetCount(), 1);
  EXPECT_EQ(Width("panel/title"), 77);
  EXPECT_EQ(Width("extra"), 5);  // a missing parent: the screen's root
  EXPECT_EQ(root->GetChildren()->GetCount(), 3);
}

TEST_F(CustomSettingsTest, ChangePropertyFollowsAPathOfChildNames) {
  Run("<commands><command type='widget_change_property_value_command' gamescreenname='main'"
      " widgetname='panel\\title' paramname='width' value='42'/></commands>");
  EXPECT_EQ(Width("panel/title"), 42);
  TDiagnosticsCollector diagnostics;
  Run("<commands><command type='widget_change_property_value_command' gamescreenname='main'"
      " widgetname='badge\\deeper' paramname='width' value='1'/>"
      "<command type='widget_change_property_value_command' gamescreenname='other'"
      " widgetname='badge' paramname='width' value='1'/>"
      "<command type='widget_change_property_value_command' gamescreenname='main'"
      " widgetname='badge' paramname='nosuch' value='1'/></commands>");
  EXPECT_EQ(diagnostics.Errors().size(), 3u);
  EXPECT_EQ(Width("badge"), 1);
}

TEST_F(CustomSettingsTest, BadCommandsAreReportedAndChangeNothing) {
  TDiagnosticsCollector diagnostics;
  Run("<commands><command type='nosuch_command'/>"
      "<command type='add_widget_command' gamescreenname='main'><storage_string>not xml "
      "&lt;</storage_string></command>"
      "<command type='add_widget_command' gamescreenname='main'>"
      "<storage_string><widget type='unknown_widget' name='x'/></storage_string></command>"
      "<command type='add_widget_command' gamescreenname='absent'>"
      "<storage_string><widget type='rect_widget' name='x'/></storage_string></command></commands>");
  EXPECT_TRUE(diagnostics.Has("nosuch_command"));
  EXPECT_TRUE(diagnostics.Has("unknown_widget"));
  EXPECT_TRUE(diagnostics.Has("absent"));
  EXPECT_TRUE(diagnostics.Has("storage_string"));
  EXPECT_EQ(root->GetChildren()->GetCount(), 2);
}

TEST_F(CustomSettingsTest, CommandsSaveTheirKeysAndStorageString) {
  const auto settings = Commands(
      "<custom><commands><command type='param_command' paramname='a' value=''/>"
      "<command type='load_resource_command' "
      "groupname='g'><storage_string><resources/></storage_string></command>"
      "<command type='add_widget_command' gamescreenname='s' parent_widget_name=''/></commands></custom>");
  const StorageRef out = NewStorage("commands");
  settings->GetCommands().SaveToStorage(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(),
            "<commands><command type=\"param_command\" paramname=\"a\" value=\"\"/>"
            "<command type=\"load_resource_command\" groupname=\"g\">"
            "<storage_string><resources/></storage_string></command>"
            "<command type=\"add_widget_command\" gamescreenname=\"s\" parent_widget_name=\"\"/>"
            "</commands>");
}

TEST_F(CustomSettingsTest, SettingsFilesLoadThroughTheEngineAndRunInOrder) {
  test::TempDir dir;
  test::ScopedCurrentDir cwd(dir.Path());
  dir.Write("first.xml", "<commands><command type='param_command' paramname='A' value='1'/></commands>");
  dir.Write("second.txt",
            EncipherToHex("<commands><command type='param_command' paramname='A' value='2'/>"
                          "<command type='load_resource_command' groupname='extra'><storage_string>"
                          "<resources><content/></resources></storage_string></command></commands>",
                          "k3y"));
  const StorageRef description = LoadStorageText(
      "<custom_settings><custom_setting filename='first.xml'/><custom_setting filename='second.txt' "
      "key='k3y'/>"
      "<custom_setting filename='missing.xml'/><custom_setting filename=''/></custom_settings>");
  Ref<TCustomSettingsCollection> settings = MakeRef<TCustomSettingsCollection>();
  settings->Initialize();
  settings->Load(description);
  ASSERT_EQ(settings->Count(), 4);
  const Ref<TEngine> engine = MakeRef<TEngine>();
  TDiagnosticsCollector diagnostics;
  ExecuteCustomSettings(*settings, *engine, *host);
  EXPECT_EQ(host->options["A"], "2");
  EXPECT_TRUE(diagnostics.Has("missing.xml"));
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
  const StorageRef saved = NewStorage("custom_settings");
  settings->SaveToStorage(saved);
  EXPECT_EQ(AsRoot(saved)->SaveToText(),
            "<custom_settings><custom_setting filename=\"first.xml\"/>"
            "<custom_setting filename=\"second.txt\" key=\"k3y\"/>"
            "<custom_setting filename=\"missing.xml\"/>"
            "<custom_setting filename=\"\"/></custom_settings>");
}

}  // namespace
}  // namespace qv
