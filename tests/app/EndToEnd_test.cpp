// Runs the game executable headless, on the fixture application folder, on
// its bundled content and from copied layouts, and checks what it drew and
// what it said.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/ImageCodec.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

class EndToEndTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* game = std::getenv("QV_GAME");
    const char* fixture = std::getenv("QV_E2E_FIXTURE");
    if (!game || !fixture) GTEST_SKIP() << "QV_GAME and QV_E2E_FIXTURE are set by CTest";
    game_ = game;
    fixture_ = fixture;
  }
  // Runs the game with the fixture and the given extra arguments; returns
  // its exit status.
  int RunGame(const std::string& extra) { return Run(game_, "--app-dir '" + fixture_ + "' " + extra); }
  // Runs an executable of the game with the given arguments (its standard
  // error goes to stderr.txt); returns its exit status.
  int Run(const std::string& executable, const std::string& args) {
    const std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + executable +
                                "' --user-data '" + dir.File("user") + "' --fixed-step 10 " + args + " 2>'" +
                                dir.File("stderr.txt") + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Stderr() { return test::ReadFile(dir.File("stderr.txt")); }
  // The game executable placed at `folder`/quorvanel (a hard link, else a
  // copy: the game finds its content from where its file really is).
  std::string PlaceGame(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const auto target = folder / "quorvanel";
    std::error_code ec;
    std::filesystem::create_hard_link(game_, target, ec);
    if (ec) std::filesystem::copy_file(game_, target, ec);
    EXPECT_FALSE(ec) << ec.message();
    return target.string();
  }
  void CopyFixtureTo(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::filesystem::copy(fixture_, folder, std::filesystem::copy_options::recursive);
  }
  Ref<TSurface> Screenshot(const std::string& name) {
    return DecodePng(test::ReadFile(dir.File(name)), EPngAccept::kAny);
  }
  static uint32_t Rgb(const Ref<TSurface>& s, int x, int y) { return s->GetPixel(x, y) & 0xFFFFFFu; }

  std::string game_, fixture_;
  test::TempDir dir;
};

TEST_F(EndToEndTest, ShowsTheFixturesImage) {
  ASSERT_EQ(RunGame("--frames 30 --screenshot '" + dir.File("out.png") + "'"), 0)
      << test::ReadFile(dir.File("stderr.txt"));
  const Ref<TSurface> shot = Screenshot("out.png");
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->GetWidth(), 640);
  ASSERT_EQ(shot->GetHeight(), 480);
  EXPECT_EQ(Rgb(shot, 0, 0), 0x204060u);      // background
  EXPECT_EQ(Rgb(shot, 100, 80), 0xFF0000u);   // the picture's red half
  EXPECT_EQ(Rgb(shot, 163, 127), 0x00FF00u);  // its green half
  EXPECT_EQ(Rgb(shot, 164, 80), 0x204060u);
  EXPECT_EQ(Rgb(shot, 639, 479), 0x204060u);
}

TEST_F(EndToEndTest, ScriptedInputGoesThroughTheTranslation) {
  // A click moves the picture's corner to the pointer.
  test::TempDir scripts;
  scripts.Write("input.txt", "# move the picture\n5 move 300 200\n5 down 300 200 left\n6 up 300 200\n");
  ASSERT_EQ(RunGame("--frames 20 --input '" + scripts.File("input.txt") + "' --screenshot '" +
                    dir.File("moved.png") + "'"),
            0);
  const Ref<TSurface> shot = Screenshot("moved.png");
  ASSERT_TRUE(shot);
  EXPECT_EQ(Rgb(shot, 100, 80), 0x204060u);
  EXPECT_EQ(Rgb(shot, 300, 200), 0xFF0000u);
  EXPECT_EQ(Rgb(shot, 363, 247), 0x00FF00u);
}

TEST_F(EndToEndTest, OneRunTakesSeveralPicturesTracesItsEndAndRecordsAReplayableInput) {
  test::TempDir scripts;
  scripts.Write("input.txt",
                "2 move 300 200\n2 down 300 200 left\n2 up 300 200\n3 screenshot moved.png\n"
                "4 down 1 1 right\n5 screenshot home.png\n7 close\n");
  const std::string run = "--frames 50 --input '" + scripts.File("input.txt") + "' --trace '" +
                          dir.File("trace.txt") + "' --record '" + dir.File("record.txt") + "'";
  // Screenshot paths are taken from the folder the game was started in.
  const std::string command = "cd '" + dir.File("") + "' && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" +
                              game_ + "' --app-dir '" + fixture_ +
                              "' --user-data user --fixed-step 10 --seed 7 " + run;
  ASSERT_EQ(std::system(command.c_str()), 0);
  const Ref<TSurface> moved = Screenshot("moved.png");
  const Ref<TSurface> home = Screenshot("home.png");
  ASSERT_TRUE(moved && home);
  EXPECT_EQ(Rgb(moved, 300, 200), 0xFF0000u);
  EXPECT_EQ(Rgb(home, 100, 80), 0xFF0000u);
  EXPECT_EQ(Rgb(home, 300, 200), 0x204060u);
  // The close request of frame 7 ends the run there.
  EXPECT_EQ(test::ReadFile(dir.File("trace.txt")), "{\"frame\":7,\"event\":\"quit\"}\n");
  const std::string record = test::ReadFile(dir.File("record.txt"));
  EXPECT_EQ(record.rfind("# seed 7 ", 0), 0u) << record;
  EXPECT_NE(record.find("\n2 down 300 200 left\n2 up 300 200 left\n"), std::string::npos) << record;
  EXPECT_NE(record.find("\n7 close\n"), std::string::npos) << record;
  // Replaying the record gives the same record again.
  test::TempDir again;
  const std::string replay = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + game_ + "' --app-dir '" +
                             fixture_ + "' --user-data '" + again.File("user") +
                             "' --fixed-step 10 --seed 7 --frames 50 --input '" + dir.File("record.txt") +
                             "' --record '" + again.File("record.txt") + "'";
  ASSERT_EQ(std::system(replay.c_str()), 0);
  EXPECT_EQ(test::ReadFile(again.File("record.txt")), record);
}

TEST_F(EndToEndTest, BadArgumentsAreReportedOnOneLine) {
  EXPECT_EQ(RunGame("--frames many"), 1);
  const std::string err = test::ReadFile(dir.File("stderr.txt"));
  EXPECT_NE(err.find("--frames"), std::string::npos);
  EXPECT_EQ(err.find('\n'), err.size() - 1);
  test::TempDir scripts;
  scripts.Write("bad.txt", "3 press A\n");
  EXPECT_EQ(RunGame("--input '" + scripts.File("bad.txt") + "'"), 1);
  EXPECT_NE(test::ReadFile(dir.File("stderr.txt")).find("line 1"), std::string::npos);
}

// The screens a trace showed and closed, in order ("show NAME", "close
// NAME"), and whether it ended with "quit".
std::vector<std::string> ScreenFlow(const std::string& trace) {
  std::vector<std::string> flow;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    for (const char* event : {"show", "close", "quit"}) {
      if (line.find(std::string("\"event\":\"") + event + "\"") == std::string::npos) continue;
      const size_t at = line.find("\"screen\":\"");
      flow.push_back(at == std::string::npos ? std::string(event)
                                             : std::string(event) + " " +
                                                   line.substr(at + 10, line.find('"', at + 10) - at - 10));
    }
  }
  return flow;
}

TEST_F(EndToEndTest, TheShellsFirstRunMakesAPlayerAndTheSecondRunKeepsIt) {
  const char* source = std::getenv("QV_SOURCE_DIR");
  ASSERT_TRUE(source);
  const std::string scripts = std::string(source) + "/tests/content/";
  const std::string common = "--frames 3000 --diagnostics --trace '";
  ASSERT_EQ(Run(game_, common + dir.File("first.txt") + "' --input '" + scripts + "first_run.txt'"), 0)
      << Stderr();
  EXPECT_EQ(Stderr(), "");  // the bundled content reports no data error
  EXPECT_EQ(ScreenFlow(test::ReadFile(dir.File("first.txt"))),
            (std::vector<std::string>{"show GS_SplashLogos", "close GS_SplashLogos", "show GS_Splash",
                                      "close GS_Splash", "show GS_Splash", "close GS_Splash", "show GS_Main",
                                      "show GS_NewUser", "close GS_NewUser", "show GS_Options",
                                      "close GS_Options", "show GS_Quit", "quit"}));
  const std::string first = test::ReadFile(dir.File("first.txt"));
  EXPECT_NE(first.find(R"("params":{"user_name":"Anna"})"), std::string::npos);
  EXPECT_NE(first.find(R"("event":"option","name":"ShowHints","value":"no")"), std::string::npos);
  EXPECT_NE(first.find(R"("event":"save","file":"users.dat")"), std::string::npos);

  // The same per-user folder: no player is asked for, the quit query ends it.
  ASSERT_EQ(Run(game_, common + dir.File("second.txt") + "' --input '" + scripts + "second_run.txt'"), 0)
      << Stderr();
  EXPECT_EQ(ScreenFlow(test::ReadFile(dir.File("second.txt"))),
            (std::vector<std::string>{"show GS_SplashLogos", "close GS_SplashLogos", "show GS_Splash",
                                      "close GS_Splash", "show GS_Splash", "close GS_Splash", "show GS_Main",
                                      "show GS_Quit", "quit"}));
}

TEST_F(EndToEndTest, TheBundledDialogsFadeInAndOutOverTheScreenBelow) {
  // The first run's new-player dialog over the main menu, at a point of its
  // panel clear of its controls: the main menu's sky as it is asked for,
  // part way at half its 200 ms show effect, the panel once it has
  // appeared; after OK the panel fades back into the sky in 150 ms.
  test::TempDir scripts;
  const auto shot = [&](int frame, const char* name) {
    return std::to_string(frame) + " screenshot " + dir.File(name) + "\n";
  };
  scripts.Write("fade.txt", "when shown GS_NewUser\n" + shot(1, "in0.png") + shot(10, "in10.png") +
                                shot(30, "in30.png") + "30 text Anna\n35 move 235 302\n36 down 235 302\n" +
                                "37 up 235 302\n" + shot(45, "out8.png") + shot(70, "out33.png"));
  ASSERT_EQ(Run(game_, "--frames 2000 --diagnostics --input '" + scripts.File("fade.txt") + "'"), 0)
      << Stderr();
  EXPECT_EQ(Stderr(), "");
  const auto brightness = [&](const char* name) {
    const Ref<TSurface> s = Screenshot(name);
    if (!s) return -1;
    const uint32_t c = Rgb(s, 480, 330);
    return static_cast<int>((c >> 16) + ((c >> 8) & 0xFF) + (c & 0xFF));
  };
  const int sky = brightness("in0.png"), panel = brightness("in30.png");
  ASSERT_TRUE(sky >= 0 && panel >= 0);
  ASSERT_GT(std::abs(panel - sky), 60) << "the panel stands out from the sky";
  const auto between = [&](int v) { return std::min(sky, panel) + 15 < v && v < std::max(sky, panel) - 15; };
  EXPECT_TRUE(between(brightness("in10.png")))
      << brightness("in10.png") << " between " << sky << " and " << panel;
  EXPECT_TRUE(between(brightness("out8.png")))
      << brightness("out8.png") << " between " << sky << " and " << panel;
  // (the first frame of the show effect already tints the sky a little)
  EXPECT_LE(std::abs(brightness("out33.png") - sky), 15) << "gone again";
}

TEST_F(EndToEndTest, StartsOnItsBundledContentWithoutAppDir) {
  // The build lays the bundled content beside the executable, in content/.
  // Four seconds: the logos (two) have gone and the main menu is up, with
  // the first run's player dialogs in the middle; its night sky shows in
  // the corner and at the left edge.
  ASSERT_EQ(Run(game_, "--frames 400 --screenshot '" + dir.File("bundled.png") + "'"), 0) << Stderr();
  EXPECT_EQ(Stderr(), "");
  const Ref<TSurface> shot = Screenshot("bundled.png");
  ASSERT_TRUE(shot);
  EXPECT_EQ(Rgb(shot, 630, 5), 0x0B0D25u);
  EXPECT_EQ(Rgb(shot, 5, 240), 0x2B225Bu);
}

TEST_F(EndToEndTest, FindsItsContentWhereTheLayoutsPutIt) {
  // The executable's folder, its content/ sub-folder, ../share/quorvanel/.
  for (const char* place : {".", "content", "../share/quorvanel"}) {
    test::TempDir root;
    const std::string game = PlaceGame(root.Path() / "bin");
    CopyFixtureTo(root.Path() / "bin" / place);
    ASSERT_EQ(Run(game, std::string("--frames 3 --screenshot '") + dir.File("shot.png") + "'"), 0)
        << place << ": " << Stderr();
    const Ref<TSurface> shot = Screenshot("shot.png");
    ASSERT_TRUE(shot) << place;
    EXPECT_EQ(Rgb(shot, 0, 0), 0x204060u) << place;
  }
  // The executable's own folder comes first.
  test::TempDir root;
  const std::string game = PlaceGame(root.Path() / "bin");
  CopyFixtureTo(root.Path() / "bin");
  root.Write("bin/content/data/ini/Zintara.ini", "not this one");
  ASSERT_EQ(Run(game, "--frames 2 --screenshot '" + dir.File("first.png") + "'"), 0) << Stderr();
  EXPECT_EQ(Rgb(Screenshot("first.png"), 0, 0), 0x204060u);
}

TEST_F(EndToEndTest, WithoutContentItSaysWhereItLookedOnOneLine) {
  test::TempDir root;
  const std::string game = PlaceGame(root.Path() / "bin");
  EXPECT_EQ(Run(game, ""), 1);  // a player's start: no --frames
  const std::string err = Stderr();
  EXPECT_EQ(err.find("quorvanel: cannot find the game's content (data/ini/Zintara.ini) in "), 0u) << err;
  EXPECT_NE(err.find("/bin/content/"), std::string::npos) << err;
  EXPECT_NE(err.find("/bin/../share/quorvanel/"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1);
}

TEST_F(EndToEndTest, AGameThatCannotStartSaysWhyOnOneLine) {
  test::TempDir empty;
  EXPECT_EQ(Run(game_, "--app-dir '" + empty.Path().string() + "'"), 1);
  EXPECT_EQ(
      Stderr(),
      "quorvanel: the game could not be started: data\\ini\\Zintara.ini: the game description is missing "
      "or empty\n");
  // An unknown game type; with --diagnostics the data errors come first.
  const char* tool = std::getenv("QV_TOOL");
  ASSERT_TRUE(tool);
  test::TempDir app;
  app.Write("game.xml", R"(<game type="NoSuchGame" name="g"/>)");
  app.Write("lang/default.lng", R"(<language id="en" name="English"/>)");
  std::filesystem::create_directories(app.Path() / "data" / "ini");
  const std::string encipher = std::string("'") + tool + "' encipher --key-role game '" +
                               app.File("game.xml") + "' '" + app.File("data/ini/Zintara.ini") + "'";
  ASSERT_EQ(std::system(encipher.c_str()), 0);
  EXPECT_EQ(Run(game_, "--app-dir '" + app.Path().string() + "'"), 1);
  EXPECT_EQ(
      Stderr(),
      "quorvanel: the game could not be started: data\\ini\\Zintara.ini: unknown game type \"NoSuchGame\"\n");
  EXPECT_EQ(Run(game_, "--diagnostics --app-dir '" + app.Path().string() + "'"), 1);
  EXPECT_EQ(
      Stderr(),
      "data error: data\\ini\\Zintara.ini: unknown game type \"NoSuchGame\"\n"
      "quorvanel: the game could not be started: data\\ini\\Zintara.ini: unknown game type \"NoSuchGame\"\n");
}

TEST_F(EndToEndTest, DiagnosticsAreSilentForSoundContentAndListedInTheHelp) {
  ASSERT_EQ(RunGame("--diagnostics --frames 3"), 0);
  EXPECT_EQ(Stderr(), "");
  const std::string command = "'" + game_ + "' --help > '" + dir.File("help.txt") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string help = test::ReadFile(dir.File("help.txt"));
  for (const char* option : {"--app-dir", "--diagnostics", "content/", "../share/quorvanel/", "Exit status"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace qv
