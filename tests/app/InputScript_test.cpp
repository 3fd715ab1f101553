#include "app/InputScript.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "platform/InjectedInput.h"
#include "platform/InputTranslator.h"

namespace qv {
namespace {

TEST(InputScript, ParsesEveryEventKindInFrameOrder) {
  TInputScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("# a comment\r\n"
                   "\n"
                   "7 text Hello, world\n"
                   "2 down 10 20 right\n"
                   "2 up 10 20\n"
                   "1 move 5 6\n"
                   "3 key alt+Return\n"
                   "4 keydown LShift\n"
                   "4 keyup LShift\n",
                   error))
      << error;
  const auto& e = script.Events();
  ASSERT_EQ(e.size(), 7u);
  EXPECT_EQ(e[0].kind, "move");
  EXPECT_EQ(e[0].x, 5);
  EXPECT_EQ(e[1].kind, "down");
  EXPECT_EQ(e[1].button, 3);
  EXPECT_EQ(e[2].kind, "up");
  EXPECT_EQ(e[2].button, 1);  // left when not named
  EXPECT_EQ(e[3].text, "alt+Return");
  EXPECT_EQ(e[6].kind, "text");
  EXPECT_EQ(e[6].text, "Hello, world");
}

TEST(InputScript, BlurAndFocusReachTheGameAsTheWindowsFocusMessages) {
  TInputScript script;
  std::string error;
  ASSERT_TRUE(script.Parse("3 focus\n2 blur\n", error)) << error;
  TInputTranslator translator;
  std::vector<TMessage> out;
  TInjectedInput input([&](SDL_Event& event) { translator.Translate(event, out); });
  script.Deliver(2, &input);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].message, WM_KILLFOCUS);
  script.Deliver(3, &input);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].message, WM_SETFOCUS);
  EXPECT_FALSE(script.Parse("1 blur now\n", error));
}

TEST(InputScript, RejectsBadLinesWithTheirNumber) {
  const char* bad[] = {"x move 1 2",
                       "-1 move 1 2",
                       "1 jump",
                       "1 move 1",
                       "1 down 1 2 thumb",
                       "1 key NoSuchKeyName",
                       "1 move 1 2 3",
                       "1 text",
                       "1 key",
                       "1 close now",
                       "1 screenshot",
                       "when shown",
                       "when hidden main",
                       "when shown a b",
                       "whenever shown",
                       "whenever traced x",
                       "whenever shown a b",
                       "when closed",
                       "1 pad nosuch",
                       "1 pad",
                       "1 axis leftx",
                       "1 axis nosuch 3",
                       "1 axis leftx 40000"};
  for (const char* line : bad) {
    TInputScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(std::string("1 move 0 0\n") + line + "\n", error)) << line;
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  }
}

// The times at which the screenshots of a script are taken, frame by
// frame, with screens shown at the given frames.
std::vector<std::string> ShotsOf(const std::string& text, const std::map<int64_t, std::string>& shown,
                                 int64_t frames) {
  TInputScript script;
  std::string error;
  EXPECT_TRUE(script.Parse(text, error)) << error;
  std::vector<std::string> shots;
  for (int64_t frame = 1; frame <= frames; ++frame) {
    script.Deliver(frame, nullptr);
    if (shown.count(frame)) script.ScreenShown(shown.at(frame), frame);
    script.AfterFrame(frame,
                      [&](const std::string& file) { shots.push_back(std::to_string(frame) + ":" + file); });
  }
  return shots;
}

TEST(InputScript, WhenShownPartsCountFromTheFrameTheScreenWasShown) {
  const std::string text =
      "2 screenshot a.png\n"
      "when shown main\n"
      "3 screenshot b.png\n"
      "0 screenshot c.png\n"
      "when shown options\n"
      "1 screenshot d.png\n";
  // main at 5, options at 6: events keep their order, so d waits for b.
  EXPECT_EQ(ShotsOf(text, {{5, "main"}, {6, "options"}}, 20),
            (std::vector<std::string>{"2:a.png", "6:c.png", "8:b.png", "8:d.png"}));
  // An options screen shown before main does not start the last part.
  EXPECT_EQ(ShotsOf(text, {{3, "options"}, {5, "main"}}, 20),
            (std::vector<std::string>{"2:a.png", "6:c.png", "8:b.png"}));
  // Without main the script waits to the end.
  EXPECT_EQ(ShotsOf(text, {}, 20), (std::vector<std::string>{"2:a.png"}));
  TInputScript script;
  std::string error;
  ASSERT_TRUE(script.Parse(text + "4 close\n", error));
  EXPECT_EQ(script.Parts(), (std::vector<std::string>{"", "main", "options"}));
  EXPECT_EQ(script.Events().back().kind, "close");
  EXPECT_EQ(script.Events().back().part, 2);
}

TEST(InputScript, WhenTracedPartsWaitForATraceEventOfThatName) {
  TInputScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("when traced level_end\n1 screenshot end.png\nwhen shown level_end\n2 close\n", error))
      << error;
  EXPECT_EQ(script.Parts(),
            (std::vector<std::string>{"", TInputScript::TracedKey("level_end"), "level_end"}));
  // A screen of that name does not start the traced part, nor an event of another name.
  script.ScreenShown("level_end", 3);
  script.EventTraced("move", 4);
  std::vector<std::string> shots;
  for (int64_t frame = 1; frame <= 12; ++frame) {
    script.Deliver(frame, nullptr);
    if (frame == 6) script.EventTraced("level_end", 6);
    script.AfterFrame(frame,
                      [&](const std::string& file) { shots.push_back(std::to_string(frame) + ":" + file); });
  }
  EXPECT_EQ(shots, (std::vector<std::string>{"7:end.png"}));
  EXPECT_FALSE(script.Parse("when traced\n", error));
  EXPECT_FALSE(script.Parse("when seen x\n", error));
}

// Unattended play: handlers answer dialogs whenever they come, several of
// one screen in turn, while the sequence goes on.
TEST(InputScript, WheneverShownHandlersPlayAgainEachTimeAndTakeTurns) {
  const std::string text =
      "1 screenshot start.png\n"
      "when shown game\n"
      "2 screenshot game.png\n"
      "whenever shown stats\n"
      "3 screenshot continue.png\n"
      "whenever shown main\n"
      "1 screenshot first.png\n"
      "whenever shown main\n"
      "1 screenshot second.png\n"
      "when shown options\n"
      "0 screenshot options.png\n";
  EXPECT_EQ(
      ShotsOf(
          text,
          {{2, "stats"}, {3, "main"}, {4, "game"}, {5, "stats"}, {7, "main"}, {9, "main"}, {10, "options"}},
          20),
      (std::vector<std::string>{"1:start.png", "4:first.png", "5:continue.png", "6:game.png",
                                "8:continue.png", "8:second.png", "10:first.png", "11:options.png"}));
  TInputScript script;
  std::string error;
  ASSERT_TRUE(script.Parse(text, error)) << error;
  EXPECT_EQ(script.Parts(), (std::vector<std::string>{"", "game", "options"}));
  EXPECT_EQ(script.Names(), (std::vector<std::string>{"game", "options", "stats", "main"}));
  script.ScreenShown("stats", 1);
  EXPECT_EQ(script.Queued(), 1u);
  // A close is not a show.
  script.ScreenClosed("main", 1);
  EXPECT_EQ(script.Queued(), 1u);
  for (int64_t frame = 1; frame <= 4; ++frame) script.Deliver(frame, nullptr);
  EXPECT_EQ(script.Queued(), 0u);
}

TEST(InputScript, ClosedWaitsStartOnTheCloseOfTheirScreen) {
  const std::string text =
      "when closed game\n"
      "1 screenshot after.png\n"
      "whenever closed dialog\n"
      "0 screenshot dialog.png\n";
  TInputScript script;
  std::string error;
  ASSERT_TRUE(script.Parse(text, error)) << error;
  EXPECT_EQ(script.Names(),
            (std::vector<std::string>{TInputScript::ClosedKey("game"), TInputScript::ClosedKey("dialog")}));
  std::vector<std::string> shots;
  for (int64_t frame = 1; frame <= 10; ++frame) {
    script.Deliver(frame, nullptr);
    if (frame == 2) script.ScreenShown("game", frame);  // a show does not count
    if (frame == 3 || frame == 6) script.ScreenClosed("dialog", frame);
    if (frame == 4) script.ScreenClosed("game", frame);
    script.AfterFrame(frame,
                      [&](const std::string& file) { shots.push_back(std::to_string(frame) + ":" + file); });
  }
  EXPECT_EQ(shots, (std::vector<std::string>{"4:dialog.png", "5:after.png", "7:dialog.png"}));
}

// The data tool's way: no window, the events straight into a translator.
TEST(InputScript, DeliversToATranslatorWithoutAWindowFrameByFrame) {
  TInputScript script;
  std::string error;
  ASSERT_TRUE(script.Parse("1 move 5 6\n1 down 7 8\n2 up 7 8\n2 keydown LShift\n2 key Tab\n3 key a\n", error))
      << error;
  TInputTranslator translator;
  std::vector<TMessage> got;
  TInjectedInput input([&](SDL_Event& event) { translator.Translate(event, got); });
  script.Deliver(1, &input);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(LoWord(got[0].lParam), 5);
  EXPECT_EQ(HiWord(got[0].lParam), 6);
  EXPECT_EQ(got[1].message, WM_LBUTTONDOWN);
  EXPECT_EQ(got[1].wParam, uintptr_t{MK_LBUTTON});
  got.clear();
  script.Deliver(2, &input);
  // The release, the shift key, then Tab with shift held: down, its
  // control character, up.
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0].message, WM_LBUTTONUP);
  EXPECT_EQ(got[1].message, WM_KEYDOWN);
  EXPECT_EQ(got[1].wParam, uintptr_t{VK_SHIFT});
  EXPECT_EQ(got[2].message, WM_KEYDOWN);
  EXPECT_EQ(got[2].wParam, uintptr_t{VK_TAB});
  EXPECT_EQ(got[3].message, WM_CHAR);
  EXPECT_EQ(got[3].wParam, uintptr_t{9});
  EXPECT_EQ(got[4].message, WM_KEYUP);
  EXPECT_EQ(translator.KeyState() & MK_SHIFT, uintptr_t{MK_SHIFT});
  got.clear();
  script.Deliver(2, &input);  // nothing twice
  EXPECT_TRUE(got.empty());
  script.Deliver(3, &input);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1].message, WM_CHAR);
  EXPECT_EQ(got[1].wParam, uintptr_t{'A'});  // shift is still held
}

// A virtual gamepad's lines reach the game as the keys they stand for.
TEST(InputScript, GamepadLinesBecomeTheirKeys) {
  TInputScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("1 pad dpdown\n2 paddown a\n2 padup a\n3 axis leftx -30000\n4 axis leftx 0\n", error))
      << error;
  TInputTranslator translator;
  std::vector<TMessage> got;
  TInjectedInput input([&](SDL_Event& event) { translator.Translate(event, got); });
  std::vector<std::pair<unsigned, uintptr_t>> keys;
  for (int64_t frame = 1; frame <= 4; ++frame) script.Deliver(frame, &input);
  for (const TMessage& m : got)
    if (m.message == WM_KEYDOWN || m.message == WM_KEYUP) keys.push_back({m.message, m.wParam});
  EXPECT_EQ(keys, (std::vector<std::pair<unsigned, uintptr_t>>{{WM_KEYDOWN, VK_DOWN},
                                                               {WM_KEYUP, VK_DOWN},
                                                               {WM_KEYDOWN, VK_RETURN},
                                                               {WM_KEYUP, VK_RETURN},
                                                               {WM_KEYDOWN, VK_LEFT},
                                                               {WM_KEYUP, VK_LEFT}}));
}

}  // namespace
}  // namespace qv
