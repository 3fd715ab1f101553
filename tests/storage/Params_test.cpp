#include "storage/Params.h"

#include <gtest/gtest.h>

#include <random>

#include "core/StringUtils.h"

namespace qv {
namespace {

TEST(ParamsTest, BracesKeepSeparatorsInsideOneItem) {
  EXPECT_EQ(SplitParams("a={x\\y}\\b=2"), (std::vector<std::string>{"a={x\\y}", "b=2"}));
  EXPECT_EQ(FindParam("a={x\\y}\\b=2", "A"), "x\\y");
  EXPECT_EQ(FindParam("a={x\\y}\\b=2", "c"), std::nullopt);
}

TEST(ParamsTest, NestedBracesAndEmptyItems) {
  EXPECT_EQ(SplitParams("\\\\t={a={b\\c}\\d}\\\\e=1\\"),
            (std::vector<std::string>{"t={a={b\\c}\\d}", "e=1"}));
  const auto pairs = ParseParams("t={a={b\\c}\\d}");
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].value, "a={b\\c}\\d");
}

TEST(ParamsTest, UnbalancedBraceEndsAtTheFirstSeparator) {
  EXPECT_EQ(SplitParams("a={x\\b=2"), (std::vector<std::string>{"a={x", "b=2"}));
}

TEST(ParamsTest, BlanksAroundNamesAndValues) {
  const auto pairs = ParseParams("a = 1 \\ b=2");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].name, "a");
  EXPECT_EQ(pairs[0].value, "1 ");
  EXPECT_EQ(pairs[1].name, " b");  // leading blanks of a name stay
}

TEST(ParamsTest, EmptyBracesAndItemsWithoutEquals) {
  const auto pairs = ParseParams("a={}\\flag\\b=x=y");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].value, "");
  EXPECT_EQ(pairs[1].name, "b");
  EXPECT_EQ(pairs[1].value, "x=y");
}

TEST(ParamsTest, RepeatedNamesKeepTheirOrder) {
  const auto pairs = ParseParams("\\level_record_table={name=relax}\\level_record_table={name=classic}");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].value, "name=relax");
  EXPECT_EQ(pairs[1].value, "name=classic");
}

TEST(ParamsTest, EnumerationListsSplitOnSlash) {
  EXPECT_EQ(SplitParams("/normal/screen/overlay", '/'),
            (std::vector<std::string>{"normal", "screen", "overlay"}));
}

// The splitting rule written the plain way: scan from each item's first
// brace for its match, cut the item off the front of the rest.
std::vector<std::string> SplitParamsReference(std::string_view input, char sep) {
  std::vector<std::string> items;
  std::string rest = Trim(input);
  for (;;) {
    size_t end = rest.find(sep);
    if (end == std::string::npos) break;
    const size_t brace = rest.find('{');
    if (brace != std::string::npos && brace < end) {
      int depth = 0;
      size_t close = std::string::npos;
      for (size_t i = brace; i < rest.size(); ++i) {
        if (rest[i] == '{')
          ++depth;
        else if (rest[i] == '}' && --depth == 0) {
          close = i;
          break;
        }
      }
      if (close != std::string::npos) end = rest.find(sep, close);
      if (end == std::string::npos) break;
    }
    if (end > 0) items.push_back(rest.substr(0, end));
    rest.erase(0, end + 1);
  }
  if (!rest.empty()) items.push_back(rest);
  return items;
}

TEST(ParamsTest, SplittingAgreesWithThePlainRuleOnRandomText) {
  std::mt19937 random(18);
  const std::string alphabet = "ab={}\\ ;";
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(SplitParams(text), SplitParamsReference(text, '\\')) << text;
    ASSERT_EQ(SplitParams(text, ';'), SplitParamsReference(text, ';')) << text;
  }
}

TEST(ParamsTest, LongHostileStringsSplitWithoutRescanning) {
  // 200,000 items, each opening a brace that never closes: every item once
  // asked for a scan to the end of the text and a copy of the rest.
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "a={\\";
  const auto items = SplitParams(text);
  ASSERT_EQ(items.size(), 200000u);
  EXPECT_EQ(items.front(), "a={");
  EXPECT_EQ(items.back(), "a={");
  std::string nested = std::string(100000, '{') + "x\\y" + std::string(100000, '}') + "\\b=1";
  EXPECT_EQ(SplitParams(nested).size(), 2u);
}

}  // namespace
}  // namespace qv
