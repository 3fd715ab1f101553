#include "app/InputScript.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

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

TEST(InputScript, RejectsBadLinesWithTheirNumber) {
  const char* bad[] = {
      "x move 1 2",          "-1 move 1 2",  "1 jump",           "1 move 1",      "1 down 1 2 thumb",
      "1 key NoSuchKeyName", "1 move 1 2 3", "1 text",           "1 key",         "1 close now",
      "1 screenshot",        "when shown",   "when hidden main", "when shown a b"};
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

}  // namespace
}  // namespace qv
