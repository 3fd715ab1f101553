#include "core/Trace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Json.h"

namespace qv {
namespace {

TEST(Trace, LinesCarryFrameEventAndFieldsInOrderWhileSomebodyListens) {
  EXPECT_FALSE(TTrace::On());
  TTrace::Emit("show", {{"screen", TTrace::Text("lost")}});  // nobody listens: nothing happens
  std::vector<std::string> lines;
  {
    TTrace::THandle handle = TTrace::Listen([&](const TTraceEvent& e) { lines.push_back(e.Line()); });
    EXPECT_TRUE(TTrace::On());
    TTrace::SetFrame(12);
    TTrace::Emit("control", {{"screen", TTrace::Text("main")},
                             {"sender", TTrace::Text("button \"ok\"")},
                             {"code", TTrace::Number(1)}});
    TTrace::Emit("quit", {});
    TTrace::THandle moved = std::move(handle);
    TTrace::Emit("save", {{"file", TTrace::Text("users.dat")}});
  }
  EXPECT_FALSE(TTrace::On());
  TTrace::Emit("quit", {});
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                R"({"frame":12,"event":"control","screen":"main","sender":"button \"ok\"","code":1})",
                R"({"frame":12,"event":"quit"})", R"({"frame":12,"event":"save","file":"users.dat"})"}));
  TTrace::SetFrame(0);
}

TEST(Json, StringsEscapeQuotesBackslashesAndControlsAndNumbersStayShort) {
  EXPECT_EQ(JsonString("a\"b\\c\n\t\x01\xc3\xa9"), "\"a\\\"b\\\\c\\n\\t\\u0001\xc3\xa9\"");
  EXPECT_EQ(JsonNumber(3), "3");
  EXPECT_EQ(JsonNumber(-2.5), "-2.5");
}

}  // namespace
}  // namespace qv
