#include "app/Game.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/Engine.h"
#include "app/GlobalOptions.h"
#include "app/RegisterTypes.h"
#include "core/Constants.h"
#include "core/Messages.h"
#include "graphics/ImageCodec.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "screens/GameScreen.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

// A screen that logs what the game asks of it. Hide makes it invisible at
// once, or after `hideFrames` updates (a disappearance effect).
class TLogScreen : public TNamedObject, public IGameScreenSlave {
public:
  TLogScreen(const std::string& name, std::vector<std::string>* log, TRect rect = {0, 0, 640, 480})
      : log_(log), rect_(rect) {
    TNamedObject::SetName(name);
  }

  const std::string& GetName() const override { return TNamedObject::GetName(); }
  void SetName(const std::string& name) override { TNamedObject::SetName(name); }
  void SetOwner(IGameScreenOwner* game) override { owner = game; }
  void Detach() override { owner = nullptr; }
  void Show(IParamCollection* params) override {
    std::string text = "show " + GetName();
    if (params)
      for (int i = 0; i < params->GetParamCount(); ++i)
        text += " " + params->GetParamAt(i)->GetName() + "=" + VarToString(params->GetParamAt(i)->GetValue());
    log_->push_back(text);
    visible_ = true;
    active = true;
  }
  void Hide() override {
    log_->push_back("hide " + GetName());
    hiding_ = hideFrames;
    if (hiding_ == 0) visible_ = false;
  }
  void Activate() override { active = true; }
  void Deactivate() override { active = false; }
  void Update(int dt) override {
    updated += dt;
    if (hiding_ > 0 && --hiding_ == 0) visible_ = false;
  }
  void Draw(ISurface*) override { log_->push_back("draw " + GetName()); }
  TRect GetRect() override { return rect_; }
  void Idle() override {}
  bool MouseEvent(unsigned, TPoint, unsigned) override { return handleInput; }
  bool KeyEvent(unsigned, unsigned, unsigned) override { return handleInput; }
  void WindowFocusChanged(bool focused) override {
    log_->push_back(std::string(focused ? "focus " : "blur ") + GetName());
  }
  void ScreenClosed(const std::string& closed, IParamCollection* params) override {
    log_->push_back("closed " + closed + " on " + GetName() +
                    (params ? " " + VarToString(params->GetParamValueDef("RESULT", "")) : ""));
  }
  IWindow* GetWindow() override { return nullptr; }
  Ref<IWidget> GetRootWidget() override { return nullptr; }
  bool UpdateDirty() override { return active; }
  bool IsVisible() override { return visible_; }

  IGameScreenOwner* owner = nullptr;
  bool active = false;
  bool handleInput = false;
  int hideFrames = 0;
  int updated = 0;

protected:
  ~TLogScreen() override = default;

private:
  std::vector<std::string>* log_;
  TRect rect_;
  bool visible_ = false;
  int hiding_ = 0;
};

class GameTest : public ::testing::Test {
protected:
  void SetUp() override {
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    // The engine's own options (Init would set their defaults).
    for (const char* name : {"FullScreenMode", "ShowFPS", "ShowRects"}) engine->SetOption(name, "no");
    engine->SetOption("SoundVolume", "70");
  }
  // A game from its description, with screens of these names.
  Ref<TGame> MakeGame(const std::string& attributes, const std::vector<std::string>& names,
                      const std::string& params = "") {
    Ref<TGame> game = MakeRef<TGame>();
    game->Initialize();
    game->LoadFromStorage(LoadStorageText("<game " + attributes + ">" + params + "</game>"));
    for (auto& screen : extra) game->Screens().AddScreen(screen);
    for (const auto& name : names) game->Screens().AddScreen(MakeRef<TLogScreen>(name, &log));
    game->SetDataFolder(data.Folder());
    games.push_back(game);
    return game;
  }
  TLogScreen& Screen(const std::string& name) {
    return *Query<TLogScreen>(games.back()->Screens().GetItem(name));
  }
  // The options file's value of a persisted option.
  std::string Stored(const std::string& name) {
    TGlobalOptions file(data.Folder());
    std::string value;
    file.Read(name, value);
    return value;
  }
  void TearDown() override {
    for (auto& game : games) game->Finish();
  }

  Ref<TEngine> engine = MakeRef<TEngine>();
  test::PlayerDataFolder data;
  std::vector<Ref<TLogScreen>> extra;  // screens with their own rectangles
  std::vector<Ref<TGame>> games;
  std::vector<std::string> log;
};

TEST_F(GameTest, FromTheSplashLogosThroughLoadingToTheMainScreen) {
  const Ref<TGame> game =
      MakeGame(R"(splashlogosgs="logos" splashgs="splash" maings="main" closequerygs="quit")",
               {"logos", "splash", "main", "quit"});
  game->Start(engine.get());
  EXPECT_EQ(log, (std::vector<std::string>{"show logos"}));
  EXPECT_EQ(Screen("logos").owner, game.get());
  EXPECT_FALSE(game->CloseQuery());  // still loading
  game->Advance(10);                 // the logos are still shown: nothing else
  EXPECT_EQ(game->ShownCount(), 1);
  EXPECT_EQ(Screen("logos").updated, 10);

  // The logos close themselves; the frame after they have gone runs the
  // start hook: the splash, then (loaded) the splash again with
  // LoadComplete, which the splash answers with SplashFinished.
  Screen("logos").owner->CloseScreen(&Screen("logos"), nullptr);
  game->Advance(10);
  EXPECT_TRUE(game->IsLoading());
  game->Advance(10);
  EXPECT_FALSE(game->IsLoading());
  EXPECT_EQ(log, (std::vector<std::string>{"show logos", "hide logos", "show splash", "hide splash",
                                           "show splash LoadComplete=1"}));
  game->SplashFinished();
  EXPECT_EQ(game->ShownCount(), 1);
  EXPECT_EQ(game->TopScreen()->GetName(), "main");

  // The first close request opens the quit query, a second one while it is
  // shown lets the program close.
  EXPECT_FALSE(game->CloseQuery());
  EXPECT_EQ(game->TopScreen()->GetName(), "quit");
  EXPECT_TRUE(game->CloseQuery());
}

TEST_F(GameTest, WithoutSplashScreensTheFirstAdvanceRunsTheStartHook) {
  const Ref<TGame> game = MakeGame(R"(maings="main")", {"main"});
  game->Start(engine.get());
  EXPECT_TRUE(game->IsLoading());
  EXPECT_FALSE(game->CloseQuery());
  game->Advance(10);
  EXPECT_FALSE(game->IsLoading());
  EXPECT_EQ(log, (std::vector<std::string>{"show main"}));
  EXPECT_TRUE(game->CloseQuery());  // no close query screen named
}

TEST_F(GameTest, TheStackFreezesCoveredScreensAndReportsClosing) {
  const Ref<TGame> game = MakeGame(R"(maings="main")", {"main", "dialog", "other"});
  game->Start(engine.get());
  game->Advance(10);
  EXPECT_FALSE(game->ShowScreen("nosuch", nullptr));
  EXPECT_TRUE(game->ShowScreen("dialog", nullptr));
  EXPECT_FALSE(game->ShowScreen("dialog", nullptr));  // not reopened
  EXPECT_FALSE(game->ShowScreen("main", nullptr));
  EXPECT_FALSE(Screen("main").active);
  game->Advance(30);
  EXPECT_EQ(Screen("main").updated, 0);  // only the top gets time
  EXPECT_EQ(Screen("dialog").updated, 30);
  EXPECT_FALSE(game->CloseScreen(&Screen("main"), nullptr));  // not the top

  // A closing effect keeps the dialog on the stack until it is invisible.
  Screen("dialog").hideFrames = 2;
  const Ref<TParamCollection> result = MakeRef<TParamCollection>();
  result->Initialize();
  result->SetParamValue("RESULT", "yes");
  EXPECT_TRUE(game->CloseScreen(&Screen("dialog"), result.get()));
  EXPECT_EQ(game->ShownCount(), 2);
  game->Advance(10);
  EXPECT_EQ(game->ShownCount(), 2);
  game->Advance(10);
  EXPECT_EQ(game->ShownCount(), 1);
  EXPECT_TRUE(Screen("main").active);
  EXPECT_EQ(log.back(), "closed dialog on main yes");
  EXPECT_EQ(std::count(log.begin(), log.end(), "show dialog"), 1);
}

TEST_F(GameTest, TheWindowsFocusGoesToTheTopScreenOnly) {
  const Ref<TGame> game = MakeGame(R"(maings="main")", {"main", "dialog"});
  game->Start(engine.get());
  game->Advance(10);
  game->FocusChanged(false);
  game->ShowScreen("dialog", nullptr);
  game->FocusChanged(false);
  game->FocusChanged(true);
  EXPECT_EQ(log, (std::vector<std::string>{"show main", "blur main", "show dialog", "blur dialog",
                                           "focus dialog"}));
}

TEST_F(GameTest, ACoveredScreenIsNotDrawn) {
  extra.push_back(MakeRef<TLogScreen>("back", &log, TRect{0, 0, 640, 480}));
  extra.push_back(MakeRef<TLogScreen>("cover", &log, TRect{0, 0, 640, 480}));
  extra.push_back(MakeRef<TLogScreen>("small", &log, TRect{100, 100, 200, 200}));
  const Ref<TGame> game = MakeGame(R"(maings="back")", {});
  game->Start(engine.get());
  game->Advance(10);
  game->ShowScreen("small", nullptr);
  log.clear();
  game->Draw(engine->BackSurface());
  EXPECT_EQ(log, (std::vector<std::string>{"draw back", "draw small"}));  // partly covered
  game->ShowScreen("cover", nullptr);
  log.clear();
  game->Draw(engine->BackSurface());
  EXPECT_EQ(log, (std::vector<std::string>{"draw cover"}));  // both below lie inside it
}

TEST_F(GameTest, OptionsPersistAndReachOnlyTheEnginesOwnOptions) {
  TGlobalOptions(data.Folder()).Write("SoundVolume", "40");
  const Ref<TGame> game = MakeGame(R"(maings="main")", {"main"}, R"(<params>
      <param name="FullScreenMode" value="no"/>
      <param name="SoundVolume" value="80"/>
      <param name="ShowHints" value="yes"/>
      <param name="Difficulty" value="3"/>
    </params>)");
  game->Start(engine.get());
  // Stored values win; missing ones are written from the defaults.
  EXPECT_EQ(VarToString(game->GetOptionValue("SoundVolume")), "40");
  EXPECT_EQ(VarToString(engine->GetOption("SoundVolume")), "40");
  EXPECT_EQ(Stored("ShowHints"), "yes");
  EXPECT_EQ(Stored("FullScreenMode"), "no");
  EXPECT_EQ(Stored("Difficulty"), "");
  EXPECT_TRUE(VarIsEmpty(game->GetOptionValue("NoSuchOption")));

  game->SetOption("ShowHints", "no");
  EXPECT_EQ(Stored("ShowHints"), "no");
  EXPECT_TRUE(VarIsEmpty(engine->GetOption("ShowHints")));  // never reaches the engine
  game->SetOptionNoSave("SoundVolume", "10");
  EXPECT_EQ(VarToString(engine->GetOption("SoundVolume")), "10");
  EXPECT_EQ(Stored("SoundVolume"), "40");

  // Alt+Enter toggles full screen, both ways, and keeps the choice.
  game->Advance(10);
  EXPECT_TRUE(game->KeyEvent(WM_CHAR, '\r', KF_ALTDOWN));
  EXPECT_EQ(VarToString(engine->GetOption("FullScreenMode")), "yes");
  EXPECT_EQ(Stored("FullScreenMode"), "yes");
  EXPECT_TRUE(game->KeyEvent(WM_CHAR, '\r', KF_ALTDOWN));
  EXPECT_EQ(Stored("FullScreenMode"), "no");
  EXPECT_FALSE(game->KeyEvent(WM_CHAR, '\r', 0));  // no Alt: the screen's (which ignores it)
  EXPECT_TRUE(game->KeyEvent(WM_CHAR, 'f', KF_ALTDOWN));
  EXPECT_EQ(VarToString(engine->GetOption("ShowFPS")), "yes");
}

// The board's pictures with an alternative set: "flowers" names a red
// flower and a contour, "flowers_cb" (swapped in by "ColourBlind") a blue
// flower under the same name. The screen's picture widget shows
// "board_flower_11" as the board's flower widgets do.
class AlternativeResourcesTest : public ::testing::Test {
protected:
  static constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;

  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterGameExecutableTypes();
    Picture("data/img/flower_11.png", 4, kRed);
    Picture("data/img/contour_1.png", 3, kRed);
    Picture("data/img/cb/flower_11.png", 4, kBlue);
    List("data/res/flowers.xml",
         {{"board_flower_11", "data\\img\\flower_11.png"}, {"board_contour_1", "data\\img\\contour_1.png"}});
    List("data/res/flowers_cb.xml", {{"board_flower_11", "data\\img\\cb\\flower_11.png"}});
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    engine->SetOption("ColourBlind", "no");
  }
  void TearDown() override {
    for (auto& game : games) game->Finish();
    TClassRegistry::Instance().Reset();
  }
  void Picture(const std::string& file, int size, uint32_t colour) {
    const Ref<TSurface> picture = MakeRef<TSurface>(size, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) picture->SetPixel(x, y, colour);
    app.Write(file, EncodePng(*picture));
  }
  void List(const std::string& file, const std::vector<std::pair<std::string, std::string>>& pictures) {
    std::string xml = "<resources><content>";
    for (const auto& [name, path] : pictures)
      xml += R"(<resource type="ImageResource" name=")" + name + R"(" file=")" + path + R"(" format="png"/>)";
    app.Write(file, EncipherToHex(xml + "</content></resources>", kGameKey));
  }
  // A started game past its loading, the option's default "no".
  TGame& StartGame() {
    const Ref<TGame> game =
        CreateFromNodeAs<TGame>(LoadStorageText(R"(<game type="Game" name="g" maings="main">
        <resourcefiles>
          <resourcefile name="flowers_cb" filename="data\res\flowers_cb.xml" loadmode="asynch" option="ColourBlind"/>
          <resourcefile name="flowers" filename="data\res\flowers.xml" loadmode="asynch"/>
        </resourcefiles>
        <params><param name="ColourBlind" value="no"/></params>
        <gamescreens><gamescreen type="GameScreen" name="main"><window><widgets>
          <widget type="image_widget" name="picture" visible="yes" width="4" height="4" resourcename="board_flower_11"/>
        </widgets></window></gamescreen></gamescreens></game>)"));
    EXPECT_TRUE(game);
    game->SetDataFolder(data.Folder());
    games.push_back(game);
    game->Start(engine.get());
    game->Advance(10);  // the start hook loads the deferred lists
    return *game;
  }
  // The colour the screen's picture shows at its centre.
  uint32_t Shown(TGame& game) {
    auto* screen = dynamic_cast<TGameScreen*>(game.Screens().GetItem("main").get());
    const Ref<IWidget> picture = screen ? screen->FindWidget("picture") : nullptr;
    if (!picture) return 0;
    const Ref<TSurface> target = MakeRef<TSurface>(4, 4);
    picture->Draw(target.get(), 0, 0);
    return target->GetPixel(2, 2);
  }
  std::string Group(const std::string& name) {
    const Ref<IResource> resource = engine->FindResource(name);
    return resource ? resource->GetGroupName() : "(none)";
  }

  test::TempDir app;
  test::ScopedCurrentDir cwd{app.Path()};
  Ref<TEngine> engine = MakeRef<TEngine>();
  test::PlayerDataFolder data;
  std::vector<Ref<TGame>> games;
};

TEST_F(AlternativeResourcesTest, TheOptionSwapsTheBoardsPicturesAtOnceAndPersists) {
  TGame& game = StartGame();
  EXPECT_EQ(Shown(game), kRed);
  EXPECT_EQ(Group("board_flower_11"), "flowers");

  game.SetOption("ColourBlind", "yes");
  EXPECT_EQ(VarToString(engine->GetOption("ColourBlind")), "yes");
  EXPECT_EQ(Shown(game), kBlue);  // the same widget, the other picture
  EXPECT_EQ(Group("board_flower_11"), "flowers_cb");
  EXPECT_EQ(Group("board_contour_1"), "flowers");  // what the set lacks stays
  game.SetOption("ColourBlind", "yes");            // no change: nothing reloads
  EXPECT_EQ(Group("board_flower_11"), "flowers_cb");

  game.SetOption("ColourBlind", "no");
  EXPECT_EQ(Shown(game), kRed);
  EXPECT_EQ(Group("board_flower_11"), "flowers");
  EXPECT_EQ(Group("board_contour_1"), "flowers");

  // A custom setting's value swaps as well, without being kept.
  game.SetOptionNoSave("ColourBlind", "yes");
  EXPECT_EQ(Shown(game), kBlue);
  std::string stored;
  TGlobalOptions(data.Folder()).Read("ColourBlind", stored);
  EXPECT_EQ(stored, "no");

  // Kept "yes": the next start loads the set first and the normal list
  // fills in only what it lacks.
  game.SetOption("ColourBlind", "yes");
  game.Finish();
  EXPECT_FALSE(engine->FindResource("board_flower_11"));
  TGame& next = StartGame();
  EXPECT_EQ(VarToString(engine->GetOption("ColourBlind")), "yes");
  EXPECT_EQ(Shown(next), kBlue);
  EXPECT_EQ(Group("board_contour_1"), "flowers");
}

}  // namespace
}  // namespace qv
