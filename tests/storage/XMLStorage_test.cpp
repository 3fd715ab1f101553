#include "storage/XMLStorage.h"

#include <gtest/gtest.h>

#include "storage/Cipher.h"
#include "storage/DataPaths.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

using test::ScopedCurrentDir;
using test::TempDir;

TEST(XMLStorageTest, AttributesChildrenAndText) {
  auto s = LoadStorageText("<root a='1' b='two'><item n='x'/><item n='y'>hi</item><other/></root>");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->GetNodeName(), "root");
  EXPECT_EQ(s->GetAttrCount(), 2);
  EXPECT_EQ(s->GetAttrName(1), "b");
  EXPECT_EQ(s->ReadAttrByIndex(1, ""), "two");
  EXPECT_EQ(s->ReadAttr("missing", "def"), "def");
  EXPECT_EQ(s->GetChildCount("item"), 2);
  EXPECT_EQ(s->GetChildCount(""), 3);
  EXPECT_EQ(s->GetChild("item", 1)->GetText(), "hi");
  EXPECT_FALSE(s->GetChild("item", 2));
  EXPECT_EQ(s->ReadChildText("item"), "");
  EXPECT_EQ(s->ReadChildText("none"), std::nullopt);

  s->AddChild("item")->WriteAttr("n", "z");
  EXPECT_EQ(s->GetChildCount("item"), 3);  // the lookup cache was dropped
  s->RemoveChild(s->GetChild("item", 0));
  EXPECT_EQ(s->GetChild("item", 0)->ReadAttr("n", ""), "y");
  s->RemoveAttr("a");
  EXPECT_EQ(s->GetAttrCount(), 1);
}

TEST(XMLStorageTest, UnboundNodeAnswersEmpty) {
  const Ref<TXMLStorage> sRef = MakeRef<TXMLStorage>();
  TXMLStorage& s = *sRef;
  EXPECT_EQ(s.GetNodeName(), "");
  EXPECT_EQ(s.GetAttrCount(), 0);
  EXPECT_EQ(s.ReadAttr("a", "d"), "d");
  EXPECT_EQ(s.GetChildCount("x"), 0);
  EXPECT_FALSE(s.GetChild("x", 0));
  EXPECT_FALSE(s.AddChild("x"));
  EXPECT_EQ(s.SaveToText(), "");
}

TEST(XMLStorageTest, ValuesAndMarkup) {
  auto s = NewStorage("root");
  s->WriteChildValue("plain", "just text");
  s->WriteChildValue("tree", "<inner k='v'/>");
  EXPECT_EQ(s->ReadChildValue("plain"), "just text");
  EXPECT_EQ(s->ReadChildValue("tree"), "<inner k=\"v\"/>");
  EXPECT_EQ(s->ReadChildValue("none"), std::nullopt);
  s->WriteChildText("t", "a < b");
  EXPECT_EQ(s->ReadChildText("t"), "a < b");
  EXPECT_EQ(AsRoot(s)->SaveToText(),
            "<root><plain>just text</plain><tree><inner k=\"v\"/></tree><t>a &lt; b</t></root>");
}

TEST(XMLStorageTest, WrittenTextReadsBackWithoutDeclaration) {
  auto s = NewStorage("r");
  s->WriteAttr("word", "caf\xC3\xA9");
  const std::string text = AsRoot(s)->SaveToText();
  EXPECT_EQ(text.find("<?xml"), std::string::npos);
  EXPECT_EQ(LoadStorageText(text)->ReadAttr("word", ""), "caf\xC3\xA9");
}

TEST(XMLStorageTest, DeclaredSingleByteEncodingIsDecoded) {
  // The two UTF-8 bytes of "é" are one character without a declaration...
  auto utf8 = LoadStorageText("<r v='\xC3\xA9'/>");
  EXPECT_EQ(utf8->ReadAttr("v", ""), "\xC3\xA9");
  // ...and two characters under a declared single-byte encoding.
  auto cyr = LoadStorageText("<?xml version='1.0' encoding='windows-1251'?><r v='\xC3\xA9'/>");
  ASSERT_TRUE(cyr);
  EXPECT_EQ(cyr->ReadAttr("v", ""), "\xD0\x93\xC2\xA9");
  // An encoding nobody knows falls back to Windows-1252.
  auto unknown = LoadStorageText("<?xml version='1.0' encoding='no-such-code'?><r v='\xE9'/>");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->ReadAttr("v", ""), "\xC3\xA9");
  // A wide Unicode form cannot describe 8-bit text; it reads as Windows-1252.
  auto wide = LoadStorageText("<?xml version='1.0' encoding='UTF-16'?><r v='\xE9'/>");
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->ReadAttr("v", ""), "\xC3\xA9");
}

TEST(XMLStorageTest, BrokenTextDoesNotLoad) {
  EXPECT_FALSE(LoadStorageText(""));
  EXPECT_FALSE(LoadStorageText("<a><b></a>"));
  EXPECT_FALSE(LoadStorageText("just words"));
}

class OutStorageTest : public ::testing::Test {
protected:
  void SetUp() override { ResetDataPathCache(); }
  void TearDown() override { ResetDataPathCache(); }
  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
};

TEST_F(OutStorageTest, FallbackAnswersWhatTheElementLacks) {
  dir.Write("base.xml", "<base a='from-file' b='file-b' c='file-c'><item/><item/><item/><only/></base>");
  auto s = LoadStorageText("<node _outstorage='file=base.xml' a='own' c=''><item/></node>");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->ReadAttr("a", ""), "own");
  EXPECT_EQ(s->ReadAttr("b", ""), "file-b");
  // An attribute holding exactly the default also asks the file.
  EXPECT_EQ(s->ReadAttr("c", ""), "file-c");
  // Own children hide the file's children of that name; counts never add.
  EXPECT_EQ(s->GetChildCount("item"), 1);
  EXPECT_EQ(s->GetChildCount("only"), 1);
  EXPECT_EQ(s->GetChild("only", 0)->GetNodeName(), "only");
}

TEST_F(OutStorageTest, EncipheredFallbackFile) {
  dir.Write("secret.dat", EncipherToHex("<base hidden='42'/>", "KeyKeyKey123456"));
  auto s = LoadStorageText("<node _outstorage='file=secret.dat\\cryptkey=KeyKeyKey123456'/>");
  EXPECT_EQ(s->ReadAttr("hidden", ""), "42");
  auto wrong = LoadStorageText("<node _outstorage='file=secret.dat\\cryptkey=WrongKey1234567'/>");
  EXPECT_EQ(wrong->ReadAttr("hidden", "none"), "none");
}

TEST_F(OutStorageTest, SelfReferenceDoesNotRecurseForever) {
  dir.Write("loop.xml", "<base _outstorage='file=loop.xml' x='1'/>");
  auto s = LoadStorageText("<node _outstorage='file=loop.xml'/>");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->ReadAttr("x", ""), "1");
  EXPECT_EQ(s->ReadAttr("y", "d"), "d");
}

TEST_F(OutStorageTest, WriteOutStorageCreatesFoldersAndEnciphers) {
  auto s = NewStorage("thing");
  s->WriteAttr("v", "1");
  // A path with "\\" needs braces inside a parameter string.
  WriteOutStorage(s, "file={sub\\deeper\\out.dat}\\cryptkey=KeyKeyKey123456");
  const std::string written = test::ReadFile(dir.File("sub/deeper/out.dat"));
  EXPECT_EQ(DecipherFromHex(written, "KeyKeyKey123456"), "<thing v=\"1\"/>");
}

TEST_F(OutStorageTest, SaveToFileReplacesWholeAndSkipsResPaths) {
  auto s = NewStorage("doc");
  ASSERT_TRUE(AsRoot(s)->SaveToFile("saved.xml"));
  EXPECT_EQ(test::ReadFile(dir.File("saved.xml")), "<doc/>");
  EXPECT_TRUE(AsRoot(s)->SaveToFile("res:BLOCK\\x.xml"));
  auto back = LoadStorageFile("saved.xml");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetNodeName(), "doc");
  EXPECT_FALSE(LoadStorageFile("missing.xml"));
}

}  // namespace
}  // namespace qv
