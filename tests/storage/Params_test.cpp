#include "storage/Params.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qv
