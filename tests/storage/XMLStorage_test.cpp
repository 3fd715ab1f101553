#include "storage/XMLStorage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/ProcessContext.h"
#include "storage/Cipher.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
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

TEST_F(OutStorageTest, SaveToFileReplacesWholeAndFailsOnResPaths) {
  auto s = NewStorage("doc");
  ASSERT_TRUE(AsRoot(s)->SaveToFile("saved.xml"));
  EXPECT_EQ(test::ReadFile(dir.File("saved.xml")), "<doc/>");
  // A "res:" block is read-only: nothing is written, and the save says so.
  EXPECT_FALSE(AsRoot(s)->SaveToFile("res:BLOCK\\x.xml"));
  EXPECT_FALSE(AsRoot(s)->SaveToFile("RES:/BLOCK/x.xml"));
  auto back = LoadStorageFile("saved.xml");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->GetNodeName(), "doc");
  EXPECT_FALSE(LoadStorageFile("missing.xml"));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

using test::ScopedCurrentDir;
using test::TempDir;

TEST(XMLStorageValueTest, CommentsCdataAndBlankTextAreWhatTheDocumentHolds) {
  auto s =
      LoadStorageText("<r><c><!--note-->x</c><d><![CDATA[a<b]]></d><sp> </sp><t>plain</t>\n  <e/>\n</r>");
  ASSERT_TRUE(s);
  // A comment is a child node: the value is the markup of the children.
  EXPECT_EQ(s->ReadChildValue("c"), "<!--note-->x");
  EXPECT_EQ(s->ReadChildText("c"), "x");
  // A CDATA section is no text child; its text is still the text.
  EXPECT_EQ(s->ReadChildValue("d"), "<![CDATA[a<b]]>");
  EXPECT_EQ(s->ReadChildText("d"), "a<b");
  // One blank is a text (a thousands separator), not layout.
  EXPECT_EQ(s->ReadChildText("sp"), " ");
  EXPECT_EQ(s->ReadChildValue("sp"), " ");
  EXPECT_EQ(s->ReadChildValue("t"), "plain");
  // Blanks between elements are layout: five elements, no text nodes.
  EXPECT_EQ(s->GetChildCount(""), 5);
  // Saving keeps the comment.
  EXPECT_NE(AsRoot(s)->SaveToText().find("<!--note-->"), std::string::npos);
}

TEST(XMLStorageValueTest, SetValueKeepsEveryRootOfAFragment) {
  auto s = NewStorage("settings");
  s->WriteChildValue("storage_string", "<a/><b x=\"1\"/>tail<!--c-->");
  EXPECT_EQ(s->ReadChildValue("storage_string"), "<a/><b x=\"1\"/>tail<!--c-->");
  EXPECT_EQ(s->GetChild("storage_string", 0)->GetChildCount("b"), 1);
  // Round trip through the saved text: nothing is dropped.
  auto back = LoadStorageText(AsRoot(s)->SaveToText());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->ReadChildValue("storage_string"), "<a/><b x=\"1\"/>tail<!--c-->");
  // Text that is no markup stays text.
  s->WriteChildValue("plain", "a < b");
  EXPECT_EQ(s->ReadChildValue("plain"), "a < b");
  s->WriteChildValue("word", "just words");
  EXPECT_EQ(s->ReadChildValue("word"), "just words");
}

TEST(XMLStorageValueTest, DeeplyNestedTextDoesNotExhaustTheStack) {
  const int depth = 100000;
  std::string text;
  text.reserve(depth * 8 + 16);
  for (int i = 0; i < depth; ++i) text += "<n>";
  text += "deep";
  for (int i = 0; i < depth; ++i) text += "</n>";
  auto s = LoadStorageText("<lang>" + text + "</lang>");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->GetText(), "deep");
  EXPECT_EQ(s->ReadChildText("n"), "deep");
  // Markup, copies and saving of the same tree hold as well.
  EXPECT_EQ(s->GetValue(), text);
  EXPECT_EQ(AsRoot(s)->SaveToText(), "<lang>" + text + "</lang>");
  auto copy = NewStorage("copy");
  copy->AppendCopy(s);
  EXPECT_EQ(copy->GetText(), "deep");
}

TEST(XMLStorageValueTest, DeepTextKeepsDocumentOrder) {
  auto s = LoadStorageText("<r>a<b>b<c>c</c>d</b><e/>e<![CDATA[f]]><!--not text--></r>");
  EXPECT_EQ(s->GetText(), "abcdef");
}

TEST(XMLStorageValueTest, OnlyADeclarationAtTheStartChoosesTheEncoding) {
  // A declaration inside CDATA is text: "é" survives save and reload.
  auto s = NewStorage("r");
  s->WriteChildValue("c", "<![CDATA[<?xml version='1.0' encoding='windows-1252'?>]]>");
  s->WriteAttr("word", "caf\xC3\xA9");
  std::string text = AsRoot(s)->SaveToText();
  for (int round = 0; round < 3; ++round) {
    auto back = LoadStorageText(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->ReadAttr("word", ""), "caf\xC3\xA9") << round;
    text = AsRoot(back)->SaveToText();
  }
  // At the start (after blanks or a byte order mark) it counts.
  EXPECT_EQ(LoadStorageText("\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1252'?><r v='\xE9'/>")
                ->ReadAttr("v", ""),
            "\xC3\xA9");
  EXPECT_EQ(
      LoadStorageText("\n <?xml version='1.0' encoding='windows-1252'?><r v='\xE9'/>")->ReadAttr("v", ""),
      "\xC3\xA9");
  // A processing instruction that only starts like one is no declaration.
  EXPECT_EQ(DecodeStorageText("<?xmlfoo encoding='windows-1252'?><r v='\xC3\xA9'/>"),
            "<?xmlfoo encoding='windows-1252'?><r v='\xC3\xA9'/>");
  EXPECT_EQ(DecodeStorageText("<r/><?xml version='1.0' encoding='windows-1252'?>\xE9"),
            "<r/><?xml version='1.0' encoding='windows-1252'?>\xE9");
}

TEST(XMLStorageNameTest, InvalidNamesAreRefusedAndReported) {
  TDiagnosticsCollector errors;
  auto s = NewStorage("options");
  ASSERT_TRUE(s);
  s->WriteAttr("good", "1");
  s->WriteAttr("bad name", "2");
  s->WriteAttr("1bad", "3");
  s->WriteAttr("", "4");
  EXPECT_FALSE(s->AddChild("bad name"));
  EXPECT_FALSE(s->AddChild("1bad"));
  s->WriteChildText("<x>", "lost");
  s->WriteChildValue("a b", "lost");
  ASSERT_TRUE(s->AddChild("Music_Volume-2.x"));
  s->AddChild("ok:ns")->WriteAttr("_v", "5");
  EXPECT_FALSE(NewStorage("bad name"));
  EXPECT_FALSE(NewStorage(""));
  EXPECT_EQ(errors.Errors().size(), 9u);
  EXPECT_TRUE(errors.Has("\"bad name\""));
  EXPECT_TRUE(errors.Has("not a valid XML name"));
  // Only the refused values are lost: the saved document loads.
  auto back = LoadStorageText(AsRoot(s)->SaveToText());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->ReadAttr("good", ""), "1");
  EXPECT_EQ(back->GetAttrCount(), 1);
  EXPECT_EQ(back->GetChildCount(""), 2);
  EXPECT_EQ(back->GetChild("ok:ns", 0)->ReadAttr("_v", ""), "5");
  for (const char* name : {"a", "_a", "A1", "a.b-c", "\xC3\xA9t\xC3\xA9"})
    EXPECT_TRUE(IsXmlName(name)) << name;
  for (const char* name : {"", "1a", "-a", ".a", "a b", "a>", "a/b", "a=b", "a\"", "a\t"})
    EXPECT_FALSE(IsXmlName(name)) << name;
}

TEST(XMLStorageReportTest, UnparsableTextIsReported) {
  TDiagnosticsCollector errors;
  EXPECT_FALSE(LoadStorageText("<a><b></a>"));
  ASSERT_EQ(errors.Errors().size(), 1u);
  EXPECT_EQ(errors.Errors()[0].where, "storage text");
  EXPECT_TRUE(errors.Has("not well-formed XML"));
  errors.Clear();
  EXPECT_FALSE(LoadStorageText(""));  // nothing to parse, nothing to report
  EXPECT_TRUE(errors.Errors().empty());
  EXPECT_TRUE(LoadStorageText("<fine/>"));
  EXPECT_TRUE(errors.Errors().empty());
}

TEST(XMLStorageSelectTest, SelectChildFindsTheFirstMatch) {
  auto s = LoadStorageText(
      "<screen><widget name='a'><widget name='inner'/></widget><widget name='b' kind='x'/><other/></screen>");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->SelectChild("widget")->ReadAttr("name", ""), "a");
  EXPECT_EQ(s->SelectChild("widget[@kind='x']")->ReadAttr("name", ""), "b");
  EXPECT_EQ(s->SelectChild("widget/widget")->ReadAttr("name", ""), "inner");
  EXPECT_EQ(s->SelectChild(".//widget[@name='inner']")->GetNodeName(), "widget");
  EXPECT_EQ(s->SelectChild("other")->GetNodeName(), "other");
  // An attribute match is no element.
  EXPECT_FALSE(s->SelectChild("widget/@name"));
  EXPECT_FALSE(s->SelectChild("missing"));
  EXPECT_FALSE(s->SelectChild("widget[["));  // a broken path finds nothing
  const Ref<TXMLStorage> unboundRef = MakeRef<TXMLStorage>();
  TXMLStorage& unbound = *unboundRef;
  EXPECT_FALSE(unbound.SelectChild("widget"));
  // The node found is bound to the same document.
  s->SelectChild("other")->WriteAttr("seen", "yes");
  EXPECT_EQ(s->GetChild("other", 0)->ReadAttr("seen", ""), "yes");
}

class OutStorageSessionTest : public ::testing::Test {
protected:
  void SetUp() override { ResetDataPathCache(); }
  void TearDown() override {
    ResetDataPathCache();
    SetApplicationPath(savedApp);
  }
  std::string savedApp = ApplicationPath();
  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
};

TEST_F(OutStorageSessionTest, ASharedFileIsReadOncePerLoad) {
  dir.Write("button.xml",
            EncipherToHex("<button width='40' height='20'><frame/></button>", "KeyKeyKey123456"));
  std::string text = "<screen>";
  for (int i = 0; i < 40; ++i)
    text +=
        "<widget name='w" + std::to_string(i) + "' _outstorage='file=button.xml\\cryptkey=KeyKeyKey123456'/>";
  text += "</screen>";
  const long long before = ProcessContext().outStorageParses;
  auto s = LoadStorageText(text);
  ASSERT_TRUE(s);
  for (int round = 0; round < 3; ++round)
    for (int i = 0; i < 40; ++i) {
      auto w = s->GetChild("widget", i);
      EXPECT_EQ(ReadInt(w, "width", 0), 40);
      EXPECT_EQ(w->GetChildCount("frame"), 1);
    }
  EXPECT_EQ(ProcessContext().outStorageParses - before, 1);
  // A second load reads it again (the file may have changed in between).
  auto again = LoadStorageText(text);
  EXPECT_EQ(ReadInt(again->GetChild("widget", 0), "height", 0), 20);
  EXPECT_EQ(ProcessContext().outStorageParses - before, 2);
}

TEST_F(OutStorageSessionTest, TwoFilesNamingEachOtherAreReadOnceAndCutOnce) {
  dir.Write("a.xml", "<a _outstorage='file=b.xml' from_a='1'/>");
  dir.Write("b.xml", "<b _outstorage='file=a.xml' from_b='2'/>");
  TDiagnosticsCollector errors;
  const long long before = ProcessContext().outStorageParses;
  auto s = LoadStorageText(
      "<r><n _outstorage='file=a.xml'/><n _outstorage='file=b.xml'/><n _outstorage='file=a.xml'/></r>");
  ASSERT_TRUE(s);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(s->GetChild("n", 0)->ReadAttr("from_b", ""), "2");
    EXPECT_EQ(s->GetChild("n", 1)->ReadAttr("from_a", ""), "1");
    EXPECT_EQ(s->GetChild("n", 2)->ReadAttr("missing", "d"), "d");
  }
  EXPECT_EQ(ProcessContext().outStorageParses - before, 2);
  int loops = 0;
  for (const auto& e : errors.Errors()) loops += e.what.find("loop") != std::string::npos;
  EXPECT_EQ(loops, 2);  // once where each file closes the loop
}

TEST_F(OutStorageSessionTest, AWriteOfTheStorageLayerIsSeenByTheSameLoad) {
  dir.Write("part.xml", "<p v='old'/>");
  auto s = LoadStorageText("<r><a _outstorage='file=part.xml'/><b _outstorage='file=part.xml'/></r>");
  EXPECT_EQ(s->GetChild("a", 0)->ReadAttr("v", ""), "old");
  auto fresh = NewStorage("p");
  fresh->WriteAttr("v", "new");
  ASSERT_TRUE(WriteOutStorage(fresh, "file=part.xml"));
  EXPECT_EQ(s->GetChild("b", 0)->ReadAttr("v", ""), "new");
}

TEST_F(OutStorageSessionTest, CutChainsAndMissingFilesAreReported) {
  // 20 files, each naming the next: the chain is cut after 16 files.
  for (int i = 0; i < 20; ++i)
    dir.Write("c" + std::to_string(i) + ".xml", "<c _outstorage='file=c" + std::to_string(i + 1) + ".xml' v" +
                                                    std::to_string(i) + "='" + std::to_string(i) + "'/>");
  TDiagnosticsCollector errors;
  auto s = LoadStorageText("<n _outstorage='file=c0.xml'/>");
  EXPECT_EQ(s->ReadAttr("v0", ""), "0");
  EXPECT_EQ(s->ReadAttr("v15", ""), "15");
  EXPECT_EQ(s->ReadAttr("v16", "cut"), "cut");
  EXPECT_TRUE(errors.Has("deeper than 16 files"));
  EXPECT_TRUE(errors.Has("c16.xml"));
  errors.Clear();
  auto loop = LoadStorageText("<n _outstorage='file=self.xml'/>");
  EXPECT_TRUE(errors.Has("missing or empty"));
  errors.Clear();
  dir.Write("self.xml", "<s _outstorage='file=self.xml' x='1'/>");
  loop = LoadStorageText("<n _outstorage='file=self.xml'/>");
  EXPECT_EQ(loop->ReadAttr("x", ""), "1");
  EXPECT_TRUE(errors.Has("loop"));
  errors.Clear();
  dir.Write("broken.xml", "<b><unclosed></b>");
  auto broken = LoadStorageText("<n _outstorage='file=broken.xml' own='1'/>");
  EXPECT_EQ(broken->ReadAttr("own", ""), "1");
  EXPECT_TRUE(errors.Has("broken.xml"));
  EXPECT_TRUE(errors.Has("not well-formed"));
}

TEST_F(OutStorageSessionTest, WriteOutStorageExpandsTheAppPathAndMakesPrivateFolders) {
  TempDir app;
  SetApplicationPath(app.Path().string());
  auto s = NewStorage("thing");
  s->WriteAttr("v", "1");
  ASSERT_TRUE(WriteOutStorage(s, "file={%apppath%sub\\deeper\\out.xml}"));
  EXPECT_EQ(test::ReadFile(app.File("sub/deeper/out.xml")), "<thing v=\"1\"/>");
  struct stat st {};
  ASSERT_EQ(::stat(app.File("sub").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // No folder named after the unexpanded placeholder.
  EXPECT_FALSE(std::filesystem::exists(dir.File("%apppath%sub")));
  EXPECT_FALSE(std::filesystem::exists(app.File("%apppath%sub")));
  // A write that cannot happen says so.
  dir.Write("blocker", "a file where a folder should be");
  TDiagnosticsCollector errors;
  EXPECT_FALSE(WriteOutStorage(s, "file={blocker\\out.xml}"));
  EXPECT_TRUE(errors.Has("cannot be written"));
  EXPECT_FALSE(WriteOutStorage(s, "cryptkey=abc"));  // no file named
}

}  // namespace
}  // namespace qv
