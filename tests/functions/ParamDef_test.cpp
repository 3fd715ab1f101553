#include "functions/ParamDef.h"

#include <gtest/gtest.h>

#include "storage/XMLStorage.h"

namespace qv {
namespace {

std::string RoundTrip(const std::string& text) {
  auto def = MakeRef<TParamDef>();
  def->Load(LoadStorageText(text));
  const StorageRef out = NewStorage("paramdef");
  def->Save(out);
  return AsRoot(out)->SaveToText();
}

TEST(ParamDefStorage, EachLinkKindSavesTheKeysThatLoadItBack) {
  // A static definition: its value, no position (an out name is kept).
  EXPECT_EQ(
      RoundTrip(R"(<paramdef name="k" row="1" col="2" static="yes" value="0.5" outname="x" outrow="3"/>)"),
      R"(<paramdef name="k" row="1" col="2" static="yes" value="0.5" outname="x"/>)");
  // A link by name: no position.
  EXPECT_EQ(RoundTrip(R"(<paramdef name="a" row="0" outname="speed" outrow="4" outcol="5"/>)"),
            R"(<paramdef name="a" row="0" col="0" static="no" outname="speed"/>)");
  // A link by position.
  EXPECT_EQ(RoundTrip(R"(<paramdef name="b" row="2" col="1" outrow="4" value="9"/>)"),
            R"(<paramdef name="b" row="2" col="1" static="no" outrow="4" outcol="0"/>)");
  // Neither: the link takes the definition's own name.
  EXPECT_EQ(RoundTrip(R"(<paramdef name="c"/>)"),
            R"(<paramdef name="c" row="-1" col="0" static="no" outname="c"/>)");
}

TEST(ParamDefStorage, AValueCountsOnlyForStaticDefinitions) {
  auto def = MakeRef<TParamDef>();
  def->Load(LoadStorageText(R"(<paramdef static="no" value="7"/>)"));
  EXPECT_FALSE(def->IsStatic());
  EXPECT_EQ(def->GetStaticValue(), 0.0f);
  def->Load(LoadStorageText(R"(<paramdef static="yes" value="-2.25"/>)"));
  EXPECT_EQ(def->GetStaticValue(), -2.25f);
  EXPECT_EQ(def->GetOutRow(), 0);
  EXPECT_EQ(def->GetOutCol(), 0);
}

}  // namespace
}  // namespace qv
