#include "core/StringUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "core/Parsing.h"

namespace qv {
namespace {

TEST(StringUtilsTest, CaseRulesAreAsciiOnly) {
  EXPECT_EQ(UpperCase("image_Widget-2"), "IMAGE_WIDGET-2");
  EXPECT_EQ(LowerCase("RECT_Widget"), "rect_widget");
  EXPECT_EQ(UpperCase("caf\xC3\xA9"), "CAF\xC3\xA9");  // bytes above 127 stay
  EXPECT_TRUE(SameText("ButtonControl", "BUTTONCONTROL"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_FALSE(SameText("a[", "A{"));  // "[" and "{" differ by 32 but are no letters
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_EQ(CompareText("Pic", "pic"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_LT(CompareText("Z", "\xC3"), 0);  // bytes compare unsigned
  EXPECT_TRUE(StartsWithText("RES:block", "res:"));
  EXPECT_FALSE(StartsWithText("re", "res:"));
  std::map<std::string, int, TextLess> keys{{"Alpha", 1}};
  EXPECT_EQ(keys.count("ALPHA"), 1u);
}

TEST(StringUtilsTest, TrimRemovesBlanksAndControls) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(TrimLeft("  a  "), "a  ");
  EXPECT_EQ(TrimRight("  a  "), "  a");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");  // a UTF-8 no-break space is text
}

TEST(StringUtilsTest, ReplaceAllCoversEveryOccurrenceOnce) {
  EXPECT_EQ(ReplaceAll("a/b/c", "/", "\\"), "a\\b\\c");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");  // replacements are not rescanned
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAllText("%AppPath%data\\%apppath%", "%apppath%", "/g/"), "/g/data\\/g/");
  EXPECT_EQ(ReplaceAllText("xX", "x", "%x%"), "%x%%x%");
}

TEST(StringUtilsTest, WholeNumbers) {
  long long v = 0;
  const std::map<std::string, long long> good = {{"0", 0},
                                                 {"42", 42},
                                                 {"-42", -42},
                                                 {"+7", 7},
                                                 {"$FF", 255},
                                                 {"$ff", 255},
                                                 {"-$10", -16},
                                                 {"0x1F", 31},
                                                 {"$FFFFFFFF", 4294967295LL},
                                                 {"2147483648", 2147483648LL}};
  for (const auto& [text, value] : good) {
    ASSERT_TRUE(TryParseInt(text, v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  for (const char* bad :
       {"", "-", "+", "$", "0x", " 1", "1 ", "1.0", "1e3", "--1", "$G", "12a", "99999999999999999999"})
    EXPECT_FALSE(TryParseInt(bad, v)) << bad;
}

TEST(StringUtilsTest, FloatsAreWrittenWithAPointAndFifteenDigits) {
  EXPECT_EQ(FormatFloat(0.5), "0.5");
  EXPECT_EQ(FormatFloat(-2.25), "-2.25");
  EXPECT_EQ(FormatFloat(100), "100");
  EXPECT_EQ(FormatFloat(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatFloat(123456789012345678.0), "1.23456789012346e+17");
  EXPECT_EQ(FormatFloat(1e-7), "1e-07");
  // Every written form reads back to the same text.
  for (double d : {0.5, -2.25, 1e-7, 123456.789, 1e300})
    EXPECT_EQ(FormatFloat(ParseFloat(FormatFloat(d), 0)), FormatFloat(d)) << d;
}

TEST(ParsingTest, HexadecimalValuesAreBitPatterns) {
  // Colours: every alpha of 128 or more is a negative 32-bit value.
  EXPECT_EQ(ParseIntDefault("$FF000000", 0), -16777216);
  EXPECT_EQ(ParseIntDefault("$80000000", 0), INT_MIN);
  EXPECT_EQ(ParseIntDefault("$FFFFFFFF", 0), -1);
  EXPECT_EQ(ParseIntDefault("$7FFFFFFF", 0), INT_MAX);
  EXPECT_EQ(ParseIntDefault("0xFF808080", 0), static_cast<int>(0xFF808080u));
  EXPECT_EQ(ParseIntDefault("$100000000", 5), 5);  // more than 32 bits
  EXPECT_EQ(ParseIntDefault("-$FFFFFFFF", 5), 5);
  // Decimal keeps the signed range.
  EXPECT_EQ(ParseIntDefault("2147483647", 0), INT_MAX);
  EXPECT_EQ(ParseIntDefault("-2147483648", 0), INT_MIN);
  EXPECT_EQ(ParseIntDefault("2147483648", 5), 5);
  EXPECT_EQ(ParseIntDefault("4294967295", 5), 5);
  EXPECT_EQ(ParseIntDefault("  12\t", 0), 12);
  EXPECT_EQ(ParseIntDefault(" $FF000000 ", 0), -16777216);
}

}  // namespace
}  // namespace qv
