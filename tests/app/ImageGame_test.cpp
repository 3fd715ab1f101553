#include "app/ImageGame.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

std::string Saved(TImageGame& game) {
  if (!TClassRegistry::Instance().Find("ImageGame")) RegisterClass<TImageGame>("ImageGame");
  const StorageRef out = NewStorage("game");
  game.Save(out);
  return AsRoot(out)->SaveToText();
}

TEST(ImageGame, DescriptionRoundTrips) {
  auto game = MakeRef<TImageGame>();
  game->Load(LoadStorageText(
      R"(<game name="g" type="ImageGame" image="img\p.png" background="$80102030" left="5" top="-6"
                                     allowclose="no"/>)"));
  EXPECT_EQ(game->ImagePosition().x, 5);
  EXPECT_EQ(game->ImagePosition().y, -6);
  EXPECT_FALSE(game->CloseQuery());
  EXPECT_EQ(
      Saved(*game),
      R"(<game name="g" type="ImageGame" image="img\p.png" background="$80102030" left="5" top="-6" allowclose="no"/>)");
}

TEST(ImageGame, DefaultsAndColourForms) {
  auto game = MakeRef<TImageGame>();
  game->Load(LoadStorageText(R"(<game/>)"));
  EXPECT_TRUE(game->CloseQuery());
  EXPECT_EQ(Saved(*game), R"(<game type="ImageGame" background="$FF000000"/>)");
  // Decimal colours read too; a damaged one is reported and gives black.
  game->Load(LoadStorageText(R"(<game type="ImageGame" background="255"/>)"));
  EXPECT_EQ(Saved(*game), R"(<game type="ImageGame" background="$000000FF"/>)");
  TDiagnosticsCollector diagnostics;
  game->Load(LoadStorageText(R"(<game type="ImageGame" background="blue"/>)"));
  EXPECT_EQ(Saved(*game), R"(<game type="ImageGame" background="$FF000000"/>)");
  EXPECT_TRUE(diagnostics.Has("background"));
}

}  // namespace
}  // namespace qv
