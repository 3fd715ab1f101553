// The language switch inside a real game: the options screen's button takes
// the next language, every text already on screen (the dialog and the
// screen under it) and of the screens not shown yet changes at once, the
// choice persists and the next start comes up in it.
#include <gtest/gtest.h>

#include <string>

#include "app/Engine.h"
#include "app/Game.h"
#include "app/RegisterTypes.h"
#include "core/Folders.h"
#include "localisation/MultiLanguages.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "screens/GameScreen.h"
#include "screens/IClickable.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

const char kEnglish[] = R"(<language id="en" name="English"><strings>
    <string name="Play">Play</string><string name="Options">Options</string>
    <string name="Language">Language</string><string name="Change">Change</string>
    <string name="Welcome">Welcome, %player_name%!</string><string name="Later">Not yet</string>
    <string name="CreateNewUser">New player</string>
  </strings></language>)";
// "Change" is left out: it stays English underneath.
const char kGerman[] = R"(<language id="de" name="Deutsch"><strings>
    <string name="Play">Spielen</string><string name="Options">Optionen</string>
    <string name="Language">Sprache</string><string name="Welcome">Willkommen, %player_name%!</string>
    <string name="Later">Noch nicht</string>
  </strings></language>)";

std::string Text(const std::string& name, const std::string& text, bool visible = true) {
  return R"(<widget type="text_widget" name=")" + name + R"(" visible=")" + (visible ? "yes" : "no") +
         R"(" width="80" height="10" text=")" + text + R"("/>)";
}

std::string Screen(const std::string& type, const std::string& name, const std::string& widgets) {
  return R"(<gamescreen type=")" + type + R"(" name=")" + name + R"("><window><widgets>)" + widgets +
         "</widgets></window></gamescreen>";
}

const std::string kGame =
    R"(<game type="Game" name="g" maings="main"><params>
         <param name="ShowHints" value="yes"/><param name="Language" value=""/>
       </params><gamescreens>)" +
    Screen("GameScreen", "main", Text("play", "%Play%") + Text("welcome", "%Welcome%")) +
    Screen("GameScreen", "elsewhere", Text("later", "%Later%", false)) +
    Screen(
        "GameScreenOptions", "options",
        Text("title", "%Options%") + Text("label_language", "%Language%") + Text("label_language_name", "") +
            R"(<widget type="ButtonControl" name="button_language" visible="yes" enabled="yes" mousestop="yes" width="40" height="20"><widgets>)" +
            Text("caption", "%Change%") + "</widgets></widget>") +
    "</gamescreens></game>";

class LanguageSwitch : public ::testing::Test {
protected:
  void SetUp() override {
    app.Write("lang/default.lng", kEnglish);
    app.Write("Languages/Deutsch.lng", kGerman);
    app.Write("Languages/Zulu.lng", R"(<language id="zu" name="isiZulu"/>)");
    oldApp = ApplicationPath();
    SetApplicationPath(app.Path().string());
    StartupLanguages();
    SetTextVariable("player_name", "Ilse");
    TClassRegistry::Instance().Reset();
    RegisterGameExecutableTypes();
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    for (const char* name : {"FullScreenMode", "ShowFPS", "ShowRects"}) engine->SetOption(name, "no");
    engine->SetOption("Language", "");
  }
  void TearDown() override {
    if (game) game->Finish();
    TClassRegistry::Instance().Reset();
    ShutdownLanguages();
    SetApplicationPath(oldApp);
  }
  // A game on the per-user folder, started, the main screen up.
  Ref<TGame> StartGame() {
    Ref<TGame> made = CreateFromNodeAs<TGame>(LoadStorageText(kGame));
    EXPECT_TRUE(made);
    made->SetDataFolder(profiles.Folder());
    made->Start(engine.get());
    made->Advance(10);
    EXPECT_TRUE(made->TopScreen() && made->TopScreen()->GetName() == "main");
    return made;
  }
  std::string TextOn(const std::string& screen, const std::string& widget) {
    for (int i = 0; i < game->Screens().GetCount(); ++i) {
      const Ref<IGameScreenSlave> s = game->Screens().GetItem(i);
      if (s && s->GetName() == screen)
        if (const Ref<IWidget> w = s->GetRootWidget()->FindWidget(widget))
          return VarToString(w->GetPropertyValue("text"));
    }
    ADD_FAILURE() << screen << "/" << widget;
    return {};
  }
  void ClickLanguage() {
    auto* top = dynamic_cast<TGameScreen*>(game->TopScreen());
    ASSERT_TRUE(top);
    ASSERT_EQ(top->GetName(), "options");
    ASSERT_TRUE(QueryPtr<IClickable>(top->FindWidget("button_language").get())->Click());
    game->Advance(10);
  }

  test::TempDir app;
  test::ScopedCurrentDir cwd{app.Path()};
  std::string oldApp;
  Ref<TEngine> engine = MakeRef<TEngine>();
  test::PlayerDataFolder profiles;
  Ref<TGame> game;
};

TEST_F(LanguageSwitch, TheButtonSwitchesEveryTextAtOnceAndTheChoicePersists) {
  game = StartGame();
  ASSERT_TRUE(game->ShowScreen("options", nullptr));
  game->Advance(10);
  EXPECT_EQ(TextOn("options", "label_language_name"), "English");
  EXPECT_EQ(TextOn("main", "play"), "Play");

  // English -> Deutsch: the dialog, the main screen under it and a screen
  // not shown yet, without reopening anything; variables keep their value,
  // a string the language lacks stays English.
  ClickLanguage();
  EXPECT_EQ(VarToString(engine->GetOption("Language")), "Deutsch");
  EXPECT_EQ(game->GetAppliedLanguage(), "Deutsch");
  EXPECT_EQ(game->TopScreen()->GetName(), "options");
  EXPECT_EQ(TextOn("options", "title"), "Optionen");
  EXPECT_EQ(TextOn("options", "label_language"), "Sprache");
  EXPECT_EQ(TextOn("options", "label_language_name"), "Deutsch");
  EXPECT_EQ(TextOn("options", "button_language/caption"), "Change");
  EXPECT_EQ(TextOn("main", "play"), "Spielen");
  EXPECT_EQ(TextOn("main", "welcome"), "Willkommen, Ilse!");
  EXPECT_EQ(TextOn("elsewhere", "later"), "Noch nicht");
  EXPECT_EQ(GetCreateNewUserText(), "New player");  // not translated here

  // The next start comes up in German, before any screen is shown.
  game->Finish();
  game = nullptr;
  ShutdownLanguages();
  StartupLanguages();
  game = StartGame();
  EXPECT_EQ(game->GetAppliedLanguage(), "Deutsch");
  EXPECT_EQ(TextOn("main", "play"), "Spielen");

  // Deutsch -> Zulu (a file without strings: all English) -> English.
  ASSERT_TRUE(game->ShowScreen("options", nullptr));
  game->Advance(10);
  EXPECT_EQ(TextOn("options", "label_language_name"), "Deutsch");
  ClickLanguage();
  EXPECT_EQ(VarToString(engine->GetOption("Language")), "Zulu");
  EXPECT_EQ(TextOn("options", "label_language_name"), "isiZulu");
  EXPECT_EQ(TextOn("main", "play"), "Play");
  ClickLanguage();
  EXPECT_EQ(VarToString(engine->GetOption("Language")), "");
  EXPECT_EQ(TextOn("options", "label_language_name"), "English");
  EXPECT_EQ(TextOn("options", "title"), "Options");
}

TEST_F(LanguageSwitch, WithoutTheOptionTheLanguageRowIsHidden) {
  engine = MakeRef<TEngine>();
  engine->Initialize();
  engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
  game = StartGame();
  ASSERT_TRUE(game->ShowScreen("options", nullptr));
  game->Advance(10);
  auto* top = dynamic_cast<TGameScreen*>(game->TopScreen());
  for (const char* name : {"label_language", "label_language_name", "button_language"})
    EXPECT_FALSE(top->FindWidget(name)->IsVisible()) << name;
  EXPECT_TRUE(top->FindWidget("title")->IsVisible());
}

}  // namespace
}  // namespace qv
