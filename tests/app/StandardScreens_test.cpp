// The standard screens inside a real game object, with real controls:
// what they show, whom they open and close, and what they do to profiles
// and options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Engine.h"
#include "app/Game.h"
#include "app/RegisterTypes.h"
#include "controls/ListBoxControl.h"
#include "core/Messages.h"
#include "core/Trace.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "screens/GameScreen.h"
#include "screens/IClickable.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

std::string Button(const std::string& name) {
  return R"(<widget type="ButtonControl" name=")" + name +
         R"(" visible="yes" enabled="yes" mousestop="yes" width="40" height="20"/>)";
}

std::string Screen(const std::string& type, const std::string& name, const std::string& widgets) {
  return R"(<gamescreen type=")" + type + R"(" name=")" + name + R"("><window><widgets>)" + widgets +
         "</widgets></window></gamescreen>";
}

const std::string kGame =
    R"(<game type="Game" name="g" maings="main"><params>
         <param name="FullScreenMode" value="no"/><param name="ShowHints" value="yes"/>
         <param name="SoundVolume" value="70"/><param name="MusicVolume" value="30"/>
       </params><gamescreens>)" +
    Screen("GameScreen", "main", Button("button_play")) +
    Screen(
        "GameScreenNewUser", "GS_NewUser",
        R"(<widget type="EditControl" name="edit_name" visible="yes" enabled="yes" tabstop="yes" width="100" height="20"/>)" +
            Button("button_ok") + Button("button_cancel")) +
    Screen("GameScreenQueryDialog", "GS_QueryNotUniqueName", Button("button_ok")) +
    Screen(
        "GameScreenUserProfiles", "profiles",
        R"(<widget type="ListBoxControl" name="listbox_profiles" visible="yes" enabled="yes" width="100" height="40" rowheight="10">
                <widgets><widget type="text_widget" name="text" width="80" height="10"/></widgets></widget>)" +
            Button("button_ok") + Button("button_cancel") + Button("button_delete")) +
    Screen(
        "GameScreenQueryDeleteProfile", "GS_QueryDeleteProfile",
        Button("button_yes") + Button("button_no") +
            R"(<widget type="text_widget" name="label_user_profile_name" visible="yes" width="80" height="10"/>)") +
    Screen(
        "GameScreenOptions", "options",
        R"(<widget type="CheckBoxControl" name="checkbox_screenmode" visible="yes" enabled="yes" width="20" height="20"/>
              <widget type="CheckBoxControl" name="checkbox_showhints" visible="yes" enabled="yes" width="20" height="20"/>
              <widget type="CheckBoxControl" name="checkbox_colourblind" visible="yes" enabled="yes" width="20" height="20"/>
              <widget type="TrackBarControl" name="trackbar_soundvolume" visible="yes" enabled="yes" width="100" height="20" min="0" max="100" frequency="1"/>)" +
            Button("button_close")) +
    Screen("GameScreenQuit", "quit", Button("button_exit") + Button("button_cancel")) +
    "</gamescreens></game>";

class StandardScreens : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterGameExecutableTypes();
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    for (const char* name : {"FullScreenMode", "ShowFPS", "ShowRects"}) engine->SetOption(name, "no");
    engine->SetOption("SoundVolume", "70");
    engine->SetOption("MusicVolume", "30");
    engine->SetOption("ColourBlind", "no");
    game = CreateFromNodeAs<TGame>(LoadStorageText(kGame));
    ASSERT_TRUE(game);
    game->SetDataFolder(data.Folder());
    trace = TTrace::Listen([this](const TTraceEvent& e) {
      if (e.event != "show" && e.event != "close" && e.event != "quit") return;
      const std::string* screen = e.Field("screen");  // a JSON string: its quotes go
      events.push_back(e.event + (screen ? " " + screen->substr(1, screen->size() - 2) : std::string()));
    });
  }
  void TearDown() override {
    game->Finish();
    TClassRegistry::Instance().Reset();
  }
  // Starts the game; without profiles the new-user dialog is asked at once.
  void Start() {
    game->Start(engine.get());
    game->Advance(10);
    events.clear();
  }
  TGameScreen& Top() { return *dynamic_cast<TGameScreen*>(game->TopScreen()); }
  void Click(const std::string& control) {
    const Ref<IWidget> widget = Top().FindWidget(control);
    ASSERT_TRUE(widget) << control;
    ASSERT_TRUE(QueryPtr<IClickable>(widget.get())->Click()) << control;
    game->Advance(10);
  }
  // What the edit reports when the player has typed `name`.
  void Type(const std::string& name) {
    const Ref<IWidget> edit = Top().FindWidget("edit_name");
    edit->SetPropertyValue("text_utf8", name);
    Top().GetEventHandler()->OnControlEvent(edit.get(), ccTextChanged, nullptr);
  }
  IUserProfileCollection& Profiles() { return *game->GetUserProfiles(); }
  // A users.dat the game finds at its start.
  void SaveProfiles(const std::vector<std::string>& names, const std::string& current) {
    const Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();
    profiles->Initialize();
    profiles->SetFile(data.Folder());
    for (const auto& name : names) profiles->AddProfile(name);
    profiles->SetCurrentProfile(current);
  }

  Ref<TEngine> engine = MakeRef<TEngine>();
  test::PlayerDataFolder data;
  Ref<TGame> game;
  TTrace::THandle trace;
  std::vector<std::string> events;
};

TEST_F(StandardScreens, TheFirstRunAsksANameThatCannotBeBlankTakenOrCancelled) {
  game->Start(engine.get());
  game->Advance(10);
  EXPECT_EQ(events, (std::vector<std::string>{"show main", "show GS_NewUser"}));
  EXPECT_FALSE(Top().FindWidget("button_cancel")->IsEnabled());
  EXPECT_FALSE(game->KeyEvent(WM_KEYDOWN, VK_ESCAPE, 0));  // a necessary name cannot be cancelled
  EXPECT_EQ(game->TopScreen()->GetName(), "GS_NewUser");

  events.clear();
  Type("   ");
  Click("button_ok");  // blanks only
  EXPECT_EQ(events, (std::vector<std::string>{"show GS_QueryNotUniqueName"}));
  Click("button_ok");  // the query closes; the dialog stays
  EXPECT_EQ(game->TopScreen()->GetName(), "GS_NewUser");

  events.clear();
  Type("  Anna ");
  EXPECT_TRUE(game->KeyEvent(WM_KEYDOWN, VK_RETURN, 0));
  game->Advance(10);
  EXPECT_EQ(events, (std::vector<std::string>{"close GS_NewUser"}));
  ASSERT_TRUE(Profiles().GetCurrentProfile());
  EXPECT_EQ(Profiles().GetCurrentProfile()->GetName(), "Anna");
  EXPECT_TRUE(data.Exists("users.dat"));
}

TEST_F(StandardScreens, ADamagedUserFileIsSetAsideAndANewNameAsked) {
  for (const std::string& damage : {std::string("garbage \x01\x02"), std::string("3E7F1DEC78F376")}) {
    data.Write("users.dat", damage);
    const Ref<TGame> fresh = CreateFromNodeAs<TGame>(LoadStorageText(kGame));
    fresh->SetDataFolder(data.Folder());
    events.clear();
    fresh->Start(engine.get());
    fresh->Advance(10);
    EXPECT_EQ(events, (std::vector<std::string>{"show main", "show GS_NewUser"}));
    fresh->Finish();
  }
  EXPECT_EQ(data.Read("users.dat.damaged-1"), "garbage \x01\x02");
  EXPECT_EQ(data.Read("users.dat.damaged-2"), "3E7F1DEC78F376");
}

TEST_F(StandardScreens, ProfilesListCreatesSelectsAndDeletesDownToANecessaryNewName) {
  SaveProfiles({"Anna", "Ben"}, "Ben");
  Start();
  ASSERT_TRUE(game->ShowScreen("profiles", nullptr));
  auto* list = Query<TListBoxControl>(Top().FindWidget("listbox_profiles")).get();
  ASSERT_TRUE(list);
  EXPECT_EQ(list->GetItemCount(), 3);
  EXPECT_EQ(list->GetSelected(), 2);  // Ben

  // A taken name, in another case, is refused.
  events.clear();
  list->SetSelected(0);
  Top().GetEventHandler()->OnControlEvent(list, TListBoxControl::ccSelectionChanged, nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"show GS_NewUser"}));
  Type("anna");
  Click("button_ok");
  EXPECT_EQ(game->TopScreen()->GetName(), "GS_QueryNotUniqueName");
  Click("button_ok");
  Click("button_cancel");  // back to the list, nothing made
  EXPECT_EQ(Profiles().GetProfileCount(), 2);

  // Delete Ben after a "no", then after a "yes"; then Anna, the last one.
  list->SetSelected(2);
  Click("button_delete");
  EXPECT_EQ(Top().GetName(), "GS_QueryDeleteProfile");
  EXPECT_EQ(VarToString(Top().FindWidget("label_user_profile_name")->GetPropertyValue("text")), "Ben");
  Click("button_no");
  EXPECT_EQ(Profiles().GetProfileCount(), 2);
  Click("button_delete");
  Click("button_yes");
  EXPECT_EQ(Profiles().GetProfileCount(), 1);
  ASSERT_TRUE(Profiles().GetCurrentProfile());
  EXPECT_EQ(Profiles().GetCurrentProfile()->GetName(), "Anna");
  list->SetSelected(1);
  events.clear();
  Click("button_delete");
  Click("button_yes");
  EXPECT_EQ(Profiles().GetProfileCount(), 0);
  EXPECT_FALSE(Profiles().GetCurrentProfile());
  EXPECT_EQ(list->GetItemCount(), 1);
  EXPECT_EQ(game->TopScreen()->GetName(), "GS_NewUser");
  EXPECT_FALSE(Top().FindWidget("button_cancel")->IsEnabled());

  // The forced name is created, made current and closes the list too.
  Type("Cleo");
  Click("button_ok");
  ASSERT_TRUE(Profiles().GetCurrentProfile());
  EXPECT_EQ(Profiles().GetCurrentProfile()->GetName(), "Cleo");
  EXPECT_EQ(game->TopScreen()->GetName(), "main");
}

TEST_F(StandardScreens, OptionsShowTheValuesAndApplyChangesAtOnce) {
  SaveProfiles({"Anna"}, "Anna");
  Start();
  ASSERT_TRUE(game->ShowScreen("options", nullptr));
  const Ref<IWidget> hints = Top().FindWidget("checkbox_showhints");
  const Ref<IWidget> volume = Top().FindWidget("trackbar_soundvolume");
  EXPECT_TRUE(VarToBool(hints->GetPropertyValue("CheckBoxState")));
  EXPECT_EQ(VarToInt(volume->GetPropertyValue("position")), 70);

  Click("checkbox_screenmode");
  EXPECT_EQ(VarToString(engine->GetOption("FullScreenMode")), "yes");
  Click("checkbox_showhints");
  EXPECT_EQ(VarToString(game->GetOptionValue("ShowHints")), "no");
  EXPECT_FALSE(VarToBool(Top().FindWidget("checkbox_colourblind")->GetPropertyValue("CheckBoxState")));
  Click("checkbox_colourblind");
  EXPECT_EQ(VarToString(engine->GetOption("ColourBlind")), "yes");
  Click("checkbox_colourblind");
  EXPECT_EQ(VarToString(engine->GetOption("ColourBlind")), "no");
  volume->SetPropertyValue("position", 40);
  Top().GetEventHandler()->OnControlEvent(volume.get(), 3, nullptr);
  EXPECT_EQ(VarToString(engine->GetOption("SoundVolume")), "40");

  events.clear();
  EXPECT_TRUE(game->KeyEvent(WM_KEYDOWN, VK_ESCAPE, 0));
  game->Advance(10);
  EXPECT_EQ(events, (std::vector<std::string>{"close options"}));
}

TEST_F(StandardScreens, TheQuitDialogCancelsOrClosesTheProgram) {
  SaveProfiles({"Anna"}, "Anna");
  Start();
  ASSERT_TRUE(game->ShowScreen("quit", nullptr));
  Click("button_cancel");
  EXPECT_EQ(events, (std::vector<std::string>{"show quit", "close quit"}));
  ASSERT_TRUE(game->ShowScreen("quit", nullptr));
  events.clear();
  Click("button_exit");
  EXPECT_EQ(events, (std::vector<std::string>{"quit"}));
}

}  // namespace
}  // namespace qv
