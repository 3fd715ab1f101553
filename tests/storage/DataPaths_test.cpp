#include "storage/DataPaths.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <map>

#include "support/TestSupport.h"

namespace qv {
namespace {

using test::ScopedCurrentDir;
using test::TempDir;

// Writes a ZIP archive with the given entries (name -> bytes).
void WriteZip(const std::string& nativePath, const std::map<std::string, std::string>& entries) {
  zipFile zip = zipOpen64(nativePath.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const auto& [name, bytes] : entries) {
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION),
              ZIP_OK);
    zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
    zipCloseFileInZip(zip);
  }
  zipClose(zip, nullptr);
}

class DataPathsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetDataPathCache();
    SetPackageExtension(".tgd");
  }
  void TearDown() override { ResetDataPathCache(); }
  TempDir dir;
  ScopedCurrentDir cwd{dir.Path()};
};

TEST_F(DataPathsTest, PackageStandsInForAMissingFolder) {
  WriteZip(dir.File("data.tgd"), {{"images/a.png", "PNGDATA"}, {"Ini/Game.ini", "ini"}});
  EXPECT_EQ(ReadDataFile("data\\images\\a.png"), "PNGDATA");
  EXPECT_EQ(ReadDataFile("data/images/a.png"), "PNGDATA");
  EXPECT_EQ(ReadDataFile("DATA\\ini\\game.INI"), "ini");  // entry names ignore case
  EXPECT_EQ(ReadDataFile("data\\images\\missing.png"), "");
}

TEST_F(DataPathsTest, PlainFileWinsOverThePackage) {
  WriteZip(dir.File("data.tgd"), {{"images/a.png", "from package"}});
  dir.Write("data/images/a.png", "from folder");
  EXPECT_EQ(ReadDataFile("data\\images\\a.png"), "from folder");
}

TEST_F(DataPathsTest, CachedReaderAnswersForItsBaseWithoutWalkingUp) {
  dir.Write("data/one.txt", "1");
  WriteZip(dir.File("data.tgd"), {{"two.txt", "2"}});
  EXPECT_EQ(ReadDataFile("data\\one.txt"), "1");
  // "data" is now served by the folder reader, which lacks two.txt.
  EXPECT_EQ(ReadDataFile("data\\two.txt"), "");
  ResetDataPathCache();
  EXPECT_EQ(ReadDataFile("data\\two.txt"), "");  // the folder is still tried first
}

TEST_F(DataPathsTest, BareNamesAreRelativeToTheCurrentFolder) {
  dir.Write("a.png", "A");
  EXPECT_EQ(ReadDataFile("a.png"), "A");
}

TEST_F(DataPathsTest, MissingCaseIsMatchedOnTheFileSystem) {
  dir.Write("Data/Images/Flower.PNG", "F");
  EXPECT_EQ(ReadDataFile("data\\images\\flower.png"), "F");
  EXPECT_EQ(ToNativePath("data\\IMAGES\\flower.png"), "Data/Images/Flower.PNG");
  EXPECT_EQ(ToNativePath("data\\new\\file.txt"), "Data/new/file.txt");
}

TEST_F(DataPathsTest, WritingNeverTouchesResPaths) {
  EXPECT_EQ(OpenDataStream("res:BLOCK\\x.txt", false), nullptr);
  auto out = OpenDataStream("written.txt", false);
  ASSERT_TRUE(out);
  out->Write("abc", 3);
  out.reset();
  EXPECT_EQ(ReadDataFile("written.txt"), "abc");
  EXPECT_FALSE(WriteDataFile("res:BLOCK\\x.txt", "x"));
}

TEST_F(DataPathsTest, ResBlocksHoldArchives) {
  WriteZip(dir.File("block.zip"), {{"ini/a.xml", "<a/>"}});
  static const std::string block = test::ReadFile(dir.File("block.zip"));
  RegisterResourceBlock("TESTBLOCK", block);
  EXPECT_EQ(ReadDataFile("res:TESTBLOCK\\ini\\a.xml"), "<a/>");
  EXPECT_EQ(ReadDataFile("res:testblock\\ini\\A.XML"), "<a/>");
  EXPECT_EQ(ReadDataFile("res:OTHER\\ini\\a.xml"), "");
}

TEST_F(DataPathsTest, DamagedPackagesBehaveAsAbsentEntries) {
  std::string big(200000, 'x');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + (i * 7919) % 26);
  WriteZip(dir.File("good.zip"), {{"big.txt", big}, {"small.txt", "hello"}});
  const std::string zip = test::ReadFile(dir.File("good.zip"));

  // Every truncation, and every flipped byte in a sample, gives the data or
  // nothing, never a crash; archives cut before their directory's end
  // record have no entries at all.
  for (size_t cut = 0; cut < zip.size(); cut += 61) {
    ResetDataPathCache();
    dir.Write("pack.tgd", zip.substr(0, cut));
    const std::string got = ReadDataFile("pack\\small.txt");
    if (cut + 22 <= zip.size()) EXPECT_EQ(got, "") << cut;
    else EXPECT_TRUE(got.empty() || got == "hello") << cut;
  }
  for (size_t pos = 0; pos < zip.size(); pos += 97) {
    std::string bad = zip;
    bad[pos] = static_cast<char>(bad[pos] ^ 0x5A);
    ResetDataPathCache();
    dir.Write("pack.tgd", bad);
    const std::string got = ReadDataFile("pack\\big.txt");
    EXPECT_TRUE(got.empty() || got == big) << pos;
  }
}

TEST(StreamTest, MemoryStreamReadsWritesAndSeeks) {
  TMemoryStream m("hello");
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 3), 3u);
  EXPECT_TRUE(m.Seek(4));
  EXPECT_EQ(m.Read(buf, 8), 1u);
  EXPECT_EQ(m.Read(buf, 8), 0u);
  m.Write("!!", 2);
  EXPECT_EQ(m.Data(), "hello!!");
  EXPECT_FALSE(m.Seek(-1));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(EmbeddedBlockTest, TheBuildEmbedsPackagesIntoTheExecutable) {
  ResetDataPathCache();
  EXPECT_EQ(ReadDataFile("res:EMBEDDEDTEST\\ini\\block.xml"), "<embedded from=\"res\"/>");
  ResetDataPathCache();
}

}  // namespace
}  // namespace qv
