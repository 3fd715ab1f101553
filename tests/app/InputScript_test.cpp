#include "app/InputScript.h"

#include <gtest/gtest.h>

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
  const char* bad[] = {"x move 1 2",          "-1 move 1 2",  "1 jump", "1 move 1", "1 down 1 2 thumb",
                       "1 key NoSuchKeyName", "1 move 1 2 3", "1 text", "1 key"};
  for (const char* line : bad) {
    TInputScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(std::string("1 move 0 0\n") + line + "\n", error)) << line;
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
  }
}

}  // namespace
}  // namespace qv
