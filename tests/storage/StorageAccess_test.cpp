#include "storage/StorageAccess.h"

#include <gtest/gtest.h>

#include <climits>

#include "storage/DataPaths.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

TEST(StorageAccessTest, ColoursWithHighAlphaKeepTheirValue) {
  auto s = LoadStorageText(
      "<w color='$FF102030' half='$80000000' low='$7F000000' white='$FFFFFFFF' wide='$1FFFFFFFF' "
      "spaced='  42' dec='-17' big='2147483648'/>");
  EXPECT_EQ(static_cast<uint32_t>(ReadInt(s, "color", 0)), 0xFF102030u);
  EXPECT_EQ(ReadInt(s, "half", 0), INT_MIN);
  EXPECT_EQ(ReadInt(s, "low", 0), 0x7F000000);
  EXPECT_EQ(ReadInt(s, "white", 0), -1);
  EXPECT_EQ(ReadInt(s, "wide", 9), 9);
  EXPECT_EQ(ReadInt(s, "spaced", 0), 42);
  EXPECT_EQ(ReadInt(s, "dec", 0), -17);
  EXPECT_EQ(ReadInt(s, "big", 9), 9);
  // Written back as decimal, read back the same.
  auto out = NewStorage("w");
  WriteInt(out, "color", ReadInt(s, "color", 0));
  EXPECT_EQ(out->ReadAttr("color", ""), "-15720400");
  EXPECT_EQ(static_cast<uint32_t>(ReadInt(out, "color", 0)), 0xFF102030u);
}

TEST(StorageAccessTest, TypedValuesAndTheirDefaults) {
  auto s = LoadStorageText("<w b='yes' B='Yes' f='0.5' e='center' E='Center' t='%x%'/>");
  EXPECT_TRUE(ReadBool(s, "b", false));
  EXPECT_FALSE(ReadBool(s, "B", false));
  EXPECT_DOUBLE_EQ(ReadFloat(s, "f", 1), 0.5);
  EXPECT_DOUBLE_EQ(ReadFloat(s, "none", 1.25), 1.25);
  EXPECT_EQ(ReadEnum(s, "e", "left/center/right", 0), 1);
  EXPECT_EQ(ReadEnum(s, "E", "left/center/right", 2), 2);
  EXPECT_EQ(ReadEnum(s, "none", "left/center/right", 2), 2);
  EXPECT_EQ(ReadEnum(s, "none", "left/center/right", 7), 7);
  EXPECT_EQ(ReadInt(nullptr, "x", 3), 3);
  EXPECT_EQ(ReadString(nullptr, "x", "d"), "d");
  SetReadTextHook([](const std::string& t) { return t == "%x%" ? std::string("expanded") : t; });
  EXPECT_EQ(ReadText(s, "t"), "expanded");
  SetReadTextHook(nullptr);
  EXPECT_EQ(ReadText(s, "t"), "%x%");
}

class StorageAccessFallbackTest : public ::testing::Test {
protected:
  void SetUp() override { ResetDataPathCache(); }
  test::TempDir dir;
  test::ScopedCurrentDir cwd{dir.Path()};
};

// One rule for every reader: an attribute that is missing or holds exactly
// the text of the caller's default is answered by the out-storage file.
TEST_F(StorageAccessFallbackTest, EveryReaderAsksTheFileWhenTheElementHoldsTheDefault) {
  dir.Write(
      "base.xml",
      "<base s='file' b='yes' i='40' f='2.5' e='right' ms='file' mb='yes' mi='41' mf='3.5' me='center'/>");
  auto s = LoadStorageText(
      "<n _outstorage='file=base.xml' s='d' b='no' i='0' f='1' e='left' own_i='7' own_b='yes'/>");
  ASSERT_TRUE(s);
  // Holding exactly the default: the file answers.
  EXPECT_EQ(ReadString(s, "s", "d"), "file");
  EXPECT_TRUE(ReadBool(s, "b", false));
  EXPECT_EQ(ReadInt(s, "i", 0), 40);
  EXPECT_DOUBLE_EQ(ReadFloat(s, "f", 1), 2.5);
  EXPECT_EQ(ReadEnum(s, "e", "left/center/right", 0), 2);
  // Missing: the file answers.
  EXPECT_EQ(ReadString(s, "ms", ""), "file");
  EXPECT_TRUE(ReadBool(s, "mb", false));
  EXPECT_EQ(ReadInt(s, "mi", 0), 41);
  EXPECT_DOUBLE_EQ(ReadFloat(s, "mf", 0), 3.5);
  EXPECT_EQ(ReadEnum(s, "me", "left/center/right", 0), 1);
  // Holding something else: the element answers.
  EXPECT_EQ(ReadInt(s, "i", 5), 0);
  EXPECT_FALSE(ReadBool(s, "b", true));
  EXPECT_EQ(ReadInt(s, "own_i", 0), 7);
  EXPECT_TRUE(ReadBool(s, "own_b", false));
  // Neither has it: the default.
  EXPECT_EQ(ReadInt(s, "nowhere", 3), 3);
  EXPECT_EQ(ReadEnum(s, "nowhere", "left/center/right", 1), 1);
}

}  // namespace
}  // namespace qv
