// Image resources name their file when an image is refused or unreadable.
#include "resources/ImageResource.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "graphics/ImageCodec.h"
#include "resources/ResourceOwner.h"
#include "storage/DataPaths.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

class ImageResourceReports : public ::testing::Test {
protected:
  void SetUp() override { ResetDataPathCache(); }
  void TearDown() override { ResetDataPathCache(); }

  Ref<ISurface> Surface(const std::string& xml) {
    auto image = MakeRef<TImageResource>();
    image->Initialize();
    image->Load(LoadStorageText(xml));
    image->SetOwner(&owner_);
    return image->GetSurface();
  }

  test::TempDir dir_;
  test::ScopedCurrentDir cwd_{dir_.Path()};
  const Ref<TSilentResourceOwner> ownerRef_ = MakeRef<TSilentResourceOwner>();
  TSilentResourceOwner& owner_ = *ownerRef_;
};

TEST_F(ImageResourceReports, EveryRefusedOrMissingImageIsReportedUnderItsFile) {
  const Ref<TSurface> greyRef = MakeRef<TSurface>(2, 2, false);
  TSurface& grey = *greyRef;
  dir_.Write("img/ok.png", EncodePng(grey));
  dir_.Write("img/a.jpg", "not a jpeg");
  TDiagnosticsCollector diagnostics;
  EXPECT_TRUE(Surface(R"(<resource type="ImageResource" name="ok" file="img\ok.png" format="png"/>)"));
  EXPECT_TRUE(diagnostics.Errors().empty());
  EXPECT_FALSE(Surface(R"(<resource type="ImageResource" name="m" file="img\none.png" format="png"/>)"));
  EXPECT_FALSE(Surface(R"(<resource type="ImageResource" name="j" file="img\a.png" format="jpng"/>)"));
  ASSERT_EQ(diagnostics.Errors().size(), 2u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "img\\none.png");
  EXPECT_EQ(diagnostics.Errors()[0].what, "no image data (missing or empty file)");
  // A "jpng" reads its colour from the JPEG beside it first.
  EXPECT_EQ(diagnostics.Errors()[1].where, "img\\a.jpg");
}

}  // namespace
}  // namespace qv
