#include "app/Startup.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace qv {
namespace {

TEST(ContentFolders, AreSearchedBesideTheExecutableInOrder) {
  EXPECT_EQ(ContentFolderCandidates("/opt/game"),
            (std::vector<std::string>{"/opt/game/", "/opt/game/content/", "/opt/game/../share/quorvanel/"}));
  EXPECT_EQ(ContentFolderCandidates("/opt/game/")[0], "/opt/game/");

  test::TempDir root;
  const std::string bin = root.File("bin");
  EXPECT_EQ(FindContentFolder(bin), "");
  // A folder named like the description is no description.
  std::filesystem::create_directories(root.Path() / "bin" / "data" / "ini" / "Zintara.ini");
  EXPECT_FALSE(HoldsGameDescription(bin));
  root.Write("share/quorvanel/data/ini/Zintara.ini", "x");
  EXPECT_EQ(FindContentFolder(bin), bin + "/../share/quorvanel/");
  root.Write("bin/content/data/ini/Zintara.ini", "x");
  EXPECT_EQ(FindContentFolder(bin), bin + "/content/");
  EXPECT_TRUE(HoldsGameDescription(bin + "/content"));
}

}  // namespace
}  // namespace qv
