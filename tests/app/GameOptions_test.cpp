#include "app/GameOptions.h"

#include <gtest/gtest.h>

#include <map>

#include "app/GlobalOptions.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "storage/Cipher.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

// The engine's options as the game sees them: only the names it has.
class TFakeEngineOptions : public TAbstractObject, public IEngineOptions {
public:
  TVariant GetOption(const std::string& name) override {
    const auto it = values.find(name);
    return it == values.end() ? TVariant{} : TVariant(it->second);
  }
  void SetOption(const std::string& name, const std::string& value) override {
    values[name] = value;
    sets.push_back(name + "=" + value);
  }
  std::map<std::string, std::string> values{
      {"FullScreenMode", "no"}, {"MusicVolume", "100"}, {"ScreenWidth", "640"}};
  std::vector<std::string> sets;

protected:
  ~TFakeEngineOptions() override = default;
};

std::string Folder(const test::TempDir& dir) {
  return dir.Path().string() + "/";
}

std::string Stored(const test::TempDir& dir) {
  return DecipherFromHex(test::ReadFile(dir.File("options")), kOptionsKey);
}

TEST(GlobalOptions, NoFileReadsEmptyAndTheFirstWriteMakesTheEncipheredFile) {
  test::TempDir dir;
  TGlobalOptions options(Folder(dir));
  std::string value = "x";
  EXPECT_FALSE(options.Read("FullScreenMode", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(std::filesystem::exists(dir.File("options")));
  ASSERT_TRUE(options.Write("FullScreenMode", "no"));
  ASSERT_TRUE(options.Write("MusicVolume", "80"));
  ASSERT_TRUE(options.Write("FullScreenMode", "yes"));
  const std::string text =
      "<options><FullScreenMode>yes</FullScreenMode><MusicVolume>80</MusicVolume></options>";
  EXPECT_EQ(test::ReadFile(dir.File("options")), EncipherToHex(text, kOptionsKey) + "\r\n");
  // "<options" under the options key.
  EXPECT_EQ(test::ReadFile(dir.File("options")).substr(0, 16), "D0D99201FA684A0A");

  TGlobalOptions again(Folder(dir));
  ASSERT_TRUE(again.Read("MusicVolume", value));
  EXPECT_EQ(value, "80");
}

TEST(GlobalOptions, AFileThatIsNoCipherTextOfOptionsIsSetAside) {
  test::TempDir dir;
  dir.Write("options", "<options><MusicVolume>5</MusicVolume></options>");  // plain, not enciphered
  TDiagnosticsCollector diagnostics;
  TGlobalOptions options(Folder(dir));
  std::string value;
  EXPECT_FALSE(options.Read("MusicVolume", value));
  EXPECT_TRUE(diagnostics.Has("options.damaged-1"));
  EXPECT_EQ(test::ReadFile(dir.File("options.damaged-1")), "<options><MusicVolume>5</MusicVolume></options>");
  ASSERT_TRUE(options.Write("MusicVolume", "60"));
  EXPECT_EQ(Stored(dir), "<options><MusicVolume>60</MusicVolume></options>");
}

class GameOptionsTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"FullScreenMode", "yes"}, {"ShowHints", "yes"}, {"MusicVolume", "70"}, {"Difficulty", "2"}})
      game.Params().SetParamValue(name, value);
    game.Attach(engine.get(), &file);
  }
  test::TempDir dir;
  TGlobalOptions file{Folder(dir)};
  Ref<TFakeEngineOptions> engine = MakeRef<TFakeEngineOptions>();
  TGameOptions game;
};

TEST_F(GameOptionsTest, PersistedOptionsTakeTheStoredValueOrStoreTheDefault) {
  file.Write("MusicVolume", "20");
  game.LoadPersisted();
  EXPECT_EQ(VarToString(game.GetOptionValue("MusicVolume")), "20");
  EXPECT_EQ(Stored(dir),
            "<options><MusicVolume>20</MusicVolume><FullScreenMode>yes</FullScreenMode>"
            "<ShowHints>yes</ShowHints></options>");
  EXPECT_TRUE(game.PushToEngine());
  EXPECT_EQ(engine->sets, (std::vector<std::string>{"FullScreenMode=yes", "MusicVolume=20"}));
  EXPECT_FALSE(game.PushToEngine());  // equal values are not pushed again
}

TEST_F(GameOptionsTest, ShowHintsPersistsButNeverReachesTheEngine) {
  EXPECT_FALSE(game.SetOption("showhints", "no"));
  EXPECT_EQ(VarToString(game.GetOptionValue("ShowHints")), "no");
  EXPECT_EQ(Stored(dir), "<options><ShowHints>no</ShowHints></options>");  // the list's spelling
  EXPECT_TRUE(engine->sets.empty());
  EXPECT_EQ(engine->values.count("ShowHints"), 0u);
  game.PushToEngine();
  EXPECT_EQ(engine->values.count("ShowHints"), 0u);

  // A game-only option that does not persist touches neither.
  EXPECT_FALSE(game.SetOption("Difficulty", "3"));
  EXPECT_EQ(Stored(dir), "<options><ShowHints>no</ShowHints></options>");

  // An engine option that persists does both; an equal value changes nothing.
  EXPECT_EQ(engine->values["FullScreenMode"], "yes");  // pushed above
  EXPECT_TRUE(game.SetOption("FullScreenMode", "no"));
  EXPECT_FALSE(game.SetOption("FullScreenMode", "no"));
  EXPECT_EQ(engine->values["FullScreenMode"], "no");
  // Without saving: the engine hears it, the file does not.
  EXPECT_TRUE(game.SetOptionNoSave("MusicVolume", "10"));
  EXPECT_EQ(Stored(dir), "<options><ShowHints>no</ShowHints><FullScreenMode>no</FullScreenMode></options>");
  EXPECT_TRUE(VarIsEmpty(game.GetOptionValue("nosuch")));
}

TEST(GameOptions, PersistedNames) {
  EXPECT_EQ(TGameOptions::PersistedName("fullscreenmode"), "FullScreenMode");
  EXPECT_EQ(TGameOptions::PersistedName("SoundVolume"), "SoundVolume");
  EXPECT_EQ(TGameOptions::PersistedName("ShowFPS"), "");
  EXPECT_EQ(TGameOptions::PersistedName("Mode;ShowHints"), "");
  EXPECT_EQ(TGameOptions::PersistedName(""), "");
}

}  // namespace
}  // namespace qv
