#include "storage/DataPaths.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <cstring>
#include <filesystem>
#include <map>

#include "core/Diagnostics.h"
#include "core/ProcessContext.h"
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

TEST_F(DataPathsTest, TheFolderHidesItsOwnPackage) {
  dir.Write("data/one.txt", "1");
  WriteZip(dir.File("data.tgd"), {{"two.txt", "2"}});
  EXPECT_EQ(ReadDataFile("data\\one.txt"), "1");
  // "data" is a folder, which lacks two.txt; its package is never asked.
  EXPECT_EQ(ReadDataFile("data\\two.txt"), "");
  ResetDataPathCache();
  EXPECT_EQ(ReadDataFile("data\\two.txt"), "");
}

// The answer for a path never depends on what was read before it.
TEST_F(DataPathsTest, TheCacheNeverChangesAnAnswer) {
  dir.Write("data/one.txt", "1");
  dir.Write("data/deep/three.txt", "3");
  WriteZip(dir.File("data/sub.tgd"), {{"x", "in sub"}, {"y/z.txt", "zz"}});
  WriteZip(dir.File("other.tgd"), {{"o.txt", "o"}});
  const std::vector<std::pair<std::string, std::string>> reads = {
      {"data\\one.txt", "1"},        {"data\\sub\\x", "in sub"}, {"data\\deep\\three.txt", "3"},
      {"data\\sub\\y\\z.txt", "zz"}, {"other\\o.txt", "o"},      {"data\\sub\\missing", ""},
      {"data\\one.txt", "1"},        {"other\\one.txt", ""},     {"data\\sub\\x", "in sub"}};
  // Each read on an empty cache...
  for (const auto& [path, expected] : reads) {
    ResetDataPathCache();
    EXPECT_EQ(ReadDataFile(path), expected) << path;
  }
  // ...and the same reads one after the other, in both orders.
  ResetDataPathCache();
  for (const auto& [path, expected] : reads) EXPECT_EQ(ReadDataFile(path), expected) << path;
  for (auto it = reads.rbegin(); it != reads.rend(); ++it)
    EXPECT_EQ(ReadDataFile(it->first), it->second) << it->first;
}

TEST_F(DataPathsTest, AChangedPackageIsReadAfresh) {
  WriteZip(dir.File("pack.tgd"), {{"a.txt", "old"}});
  EXPECT_EQ(ReadDataFile("pack\\a.txt"), "old");
  std::filesystem::remove(dir.File("pack.tgd"));
  WriteZip(dir.File("pack.tgd"), {{"a.txt", "new and longer"}});
  EXPECT_EQ(ReadDataFile("pack\\a.txt"), "new and longer");
  // A folder that appears in place of the package wins from then on.
  dir.Write("pack/a.txt", "folder");
  EXPECT_EQ(ReadDataFile("pack\\a.txt"), "folder");
}

TEST_F(DataPathsTest, AnAbsolutePathNeverReachesAPackageNamedTgdHere) {
  // A package named only by the extension in the current folder, holding
  // what an absolute path's walk would ask its root for.
  WriteZip(dir.File(".tgd"), {{"qv-no-such-root/a.txt", "stray"}});
  EXPECT_EQ(ReadDataFile("/qv-no-such-root/a.txt"), "");
  EXPECT_EQ(ReadDataFile("\\qv-no-such-root\\a.txt"), "");
  // Absolute paths to real files still resolve.
  dir.Write("abs/f.txt", "F");
  EXPECT_EQ(ReadDataFile(dir.File("abs/f.txt")), "F");
}

TEST_F(DataPathsTest, ResPathsNeverLookAtTheFileSystem) {
  dir.Write("res:NOBLOCK/a.txt", "from a folder");
  EXPECT_EQ(ReadDataFile("res:NOBLOCK\\a.txt"), "");
}

// A package whose directory declares an extra field of 1024 bytes that the
// file does not hold (113 bytes: one stored entry "a.txt" = "hello").
const char kOversizedExtraHex[] =
    "504b03040a00000000000000210086a61036050000000500000005000000612e74787468656c6c6f504b010214000a"
    "00000000000000210086a610360500000005000000050000040000000000000000000000000000612e747874504b05"
    "06000000000100010033000000280000000000";

std::string FromHex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

TEST_F(DataPathsTest, ThePackageFileAndTheResBlockGiveTheSameEntries) {
  static const std::string bytes = FromHex(kOversizedExtraHex);
  ASSERT_EQ(bytes.size(), 113u);
  dir.Write("odd.tgd", bytes);
  RegisterResourceBlock("ODDBLOCK", bytes);
  const std::string fromFile = ReadDataFile("odd\\a.txt");
  const std::string fromBlock = ReadDataFile("res:ODDBLOCK\\a.txt");
  EXPECT_EQ(fromFile, fromBlock);
  EXPECT_EQ(fromFile, "hello");  // a seek past the end succeeds as a file's does

  // Every truncation and a sweep of flipped bytes: both forms agree.
  static std::vector<std::string> variants;
  for (size_t cut = 0; cut < bytes.size(); cut += 7) variants.push_back(bytes.substr(0, cut));
  for (size_t pos = 0; pos < bytes.size(); pos += 5) {
    std::string bad = bytes;
    bad[pos] = static_cast<char>(bad[pos] ^ 0x41);
    variants.push_back(bad);
  }
  for (size_t i = 0; i < variants.size(); ++i) {
    TDiagnosticsCollector quiet;
    dir.Write("odd.tgd", variants[i]);
    RegisterResourceBlock("ODDBLOCK", variants[i]);
    EXPECT_EQ(ReadDataFile("odd\\a.txt"), ReadDataFile("res:ODDBLOCK\\a.txt")) << i;
  }
}

TEST_F(DataPathsTest, PackagesAreReadThroughABuffer) {
  std::map<std::string, std::string> entries;
  for (int i = 0; i < 60; ++i)
    entries["dir/entry" + std::to_string(i) + ".txt"] = "content " + std::to_string(i);
  WriteZip(dir.File("many.tgd"), entries);
  auto& context = ProcessContext();
  const long long disk = context.packageDiskReads;
  const long long calls = context.packageZipCalls;
  for (const auto& [name, bytes] : entries) ASSERT_EQ(ReadDataFile("many\\" + name), bytes) << name;
  // The ZIP reader reads headers field by field: the directory is walked
  // once per package (not once per lookup), about 220 calls per entry in
  // all, instead of some 3000 with a walk per lookup...
  EXPECT_LT(context.packageZipCalls - calls, 60 * 400);
  // ...and they are served by one read of the package (it fits the buffer).
  EXPECT_LE(context.packageDiskReads - disk, 1);
}

TEST_F(DataPathsTest, DamagedPackagesAndEntriesAreReported) {
  dir.Write("junk.tgd", "this is not a ZIP archive at all");
  {
    TDiagnosticsCollector errors;
    EXPECT_EQ(ReadDataFile("junk\\a.txt"), "");
    EXPECT_TRUE(errors.Has("is not a readable package")) << errors.Errors().size();
  }
  // A stored entry whose data no longer match its checksum.
  std::string bytes = FromHex(kOversizedExtraHex);
  bytes[35] = 'L';  // "heLlo"
  dir.Write("crc.tgd", bytes);
  TDiagnosticsCollector errors;
  EXPECT_EQ(ReadDataFile("crc\\a.txt"), "");
  EXPECT_TRUE(errors.Has("crc.tgd: a.txt")) << (errors.Errors().empty() ? "" : errors.Errors()[0].what);
  // A missing entry is no data error: callers decide what it means.
  errors.Clear();
  WriteZip(dir.File("fine.tgd"), {{"a.txt", "A"}});
  EXPECT_EQ(ReadDataFile("fine\\b.txt"), "");
  EXPECT_TRUE(errors.Errors().empty());
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
    if (cut + 22 <= zip.size())
      EXPECT_EQ(got, "") << cut;
    else
      EXPECT_TRUE(got.empty() || got == "hello") << cut;
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

// A medium that fails after a first piece of the data.
class TFailingStream final : public TStream {
public:
  size_t Read(void* buffer, size_t count) override {
    if (reads_++ > 0) {
      failed_ = true;
      return 0;
    }
    const size_t n = std::min<size_t>(count, 5);
    std::memcpy(buffer, "parti", n);
    return n;
  }
  size_t Write(const void*, size_t) override { return 0; }
  bool Seek(int64_t) override { return false; }
  int64_t Position() const override { return 0; }
  int64_t Size() const override { return 100; }
  bool Failed() const override { return failed_; }

private:
  int reads_ = 0;
  bool failed_ = false;
};

TEST(StreamTest, AReadErrorGivesNoPartialText) {
  TFailingStream failing;
  EXPECT_EQ(failing.ReadAll(), "");
  TMemoryStream whole("whole");
  EXPECT_EQ(whole.ReadAll(), "whole");
  // A folder is no file stream at all.
  test::TempDir dir;
  EXPECT_EQ(TFileStream::Open(dir.Path().string(), TFileStream::Mode::Read), nullptr);
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
