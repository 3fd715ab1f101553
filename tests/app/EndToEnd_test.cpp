// Runs the game executable headless on the fixture application folder and
// checks what it drew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
  int RunGame(const std::string& extra) {
    const std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" + game_ + "' --app-dir '" +
                                fixture_ + "' --user-data '" + dir.File("user") + "' --fixed-step 10 " +
                                extra + " 2>'" + dir.File("stderr.txt") + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

}  // namespace
}  // namespace qv
