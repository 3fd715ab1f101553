#include "storage/ParamCollection.h"

#include <gtest/gtest.h>

#include "storage/ClassRegistry.h"
#include "storage/ContextParamCollection.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

std::string Text(const TVariant& v) {
  return VarToString(v);
}

std::string ReadParamText(const StorageRef& s, int index) {
  const auto p = s->GetChild("param", index);
  return p->ReadAttr("name", "") + "=" + p->ReadAttr("value", "");
}

TEST(ParamCollection, LoadSetAndSave) {
  const auto node = LoadStorageText(
      "<params><param name='speed' value='1'/><param name='Mode' value='relax'/>"
      "<param name='SPEED' value='2' type='ignored'/></params>");
  Ref<TParamCollection> params = MakeRef<TParamCollection>();
  params->Initialize();
  params->Load(node);
  EXPECT_EQ(params->Count(), 2);  // a repeated name overwrites, in place
  EXPECT_EQ(Text(params->GetParamValueDef("speed", {})), "2");
  EXPECT_EQ(params->GetParamAt(1)->GetName(), "Mode");
  EXPECT_EQ(Text(params->GetParamValueDef("absent", std::string("def"))), "def");
  EXPECT_FALSE(params->GetParam("absent"));

  params->SetParamValue("mode", 7LL);
  params->SetParamValue("extra", true);
  EXPECT_EQ(params->Count(), 3);
  const auto out = NewStorage("params");
  params->Save(out);
  EXPECT_EQ(out->GetChildCount("param"), 3);
  EXPECT_EQ(ReadParamText(out, 1), "Mode=7");
  EXPECT_EQ(ReadParamText(out, 2), "extra=yes");
}

TEST(ParamCollection, CreationStringAndCopy) {
  auto params = CreateWithParams<TParamCollection>("a=1\\b={x=2}\\a=3");
  ASSERT_TRUE(params);
  EXPECT_EQ(params->Count(), 2);
  EXPECT_EQ(Text(params->GetParamValueDef("a", {})), "3");
  EXPECT_EQ(Text(params->GetParamValueDef("b", {})), "x=2");
  auto copy = TParamCollection::CopyParams(*params);
  params->SetParamValue("a", std::string("changed"));
  EXPECT_EQ(copy->Count(), 2);
  EXPECT_EQ(Text(copy->GetParamValueDef("a", {})), "3");
  EXPECT_EQ(copy->GetParamAt(1)->GetName(), "b");
}

const char kContext[] = R"(<context_params>
  <context><param name="mode" value="relax"/></context>
  <content>
    <context_param name="speed">
      <context_values>
        <context_value value="A"><context><param name="mode" value="relax"/></context></context_value>
        <context_value value="B"/>
      </context_values>
    </context_param>
    <context_param name="duel_only">
      <context_values>
        <context_value value="D"><context><param name="mode" value="duel"/></context></context_value>
      </context_values>
    </context_param>
    <context_param name="needs_level">
      <context_values>
        <context_value value="L"><context><param name="level" value="3"/></context></context_value>
      </context_values>
    </context_param>
  </content>
</context_params>)";

TEST(ContextParamCollection, SelectionFollowsTheContext) {
  Ref<TContextParamCollection> c = MakeRef<TContextParamCollection>();
  c->Initialize();
  c->Load(LoadStorageText(kContext));
  ASSERT_EQ(c->Count(), 3);
  auto speed = c->GetContextParam("speed");
  auto duel = c->GetContextParam("duel_only");
  auto level = c->GetContextParam("needs_level");
  EXPECT_EQ(Text(speed->GetValue()), "A");
  EXPECT_TRUE(VarIsEmpty(duel->GetValue()));   // never matched: Null
  EXPECT_TRUE(VarIsEmpty(level->GetValue()));  // the context lacks "level"

  c->SetContextValue("mode", std::string("classic"));
  EXPECT_EQ(Text(speed->GetValue()), "B");
  c->SetContextValue("mode", std::string("duel"));
  EXPECT_EQ(Text(duel->GetValue()), "D");
  c->SetContextValue("mode", std::string("classic"));
  EXPECT_EQ(Text(duel->GetValue()), "D");  // no match keeps the earlier selection
  c->SetContextValue("level", 3LL);        // the integer 3 equals the text "3"
  EXPECT_EQ(Text(level->GetValue()), "L");
}

TEST(ContextParamCollection, SaveMirrorsLoad) {
  Ref<TContextParamCollection> c = MakeRef<TContextParamCollection>();
  c->Initialize();
  c->Load(LoadStorageText(kContext));
  const auto out = NewStorage("context_params");
  c->Save(out);
  Ref<TContextParamCollection> back = MakeRef<TContextParamCollection>();
  back->Initialize();
  back->Load(LoadStorageText(AsRoot(out)->SaveToText()));
  ASSERT_EQ(back->Count(), 3);
  EXPECT_EQ(Text(back->GetContext().GetParamValueDef("mode", {})), "relax");
  EXPECT_EQ(Text(back->GetContextParam("speed")->GetValue()), "A");
  back->SetContextValue("mode", std::string("duel"));
  EXPECT_EQ(Text(back->GetContextParamAt(1)->GetValue()), "D");
}

// A context value with one condition "n" = `condition`, checked against a
// context whose "n" holds `actual`.
bool ConditionHolds(const TVariant& condition, const TVariant& actual) {
  Ref<TContextValue> value = MakeRef<TContextValue>();
  value->GetConditions().SetParamValue("n", condition);
  Ref<TParamCollection> context = MakeRef<TParamCollection>();
  context->SetParamValue("n", actual);
  return value->Matches(*context);
}

TEST(ContextParamCollection, ConditionsCompareAsVariants) {
  // Data gives text; code may set numbers and booleans.
  EXPECT_TRUE(ConditionHolds(std::string("01"), 1LL));
  EXPECT_TRUE(ConditionHolds(std::string("1.0"), 1LL));
  EXPECT_TRUE(ConditionHolds(std::string("$10"), 16LL));
  EXPECT_TRUE(ConditionHolds(std::string("0.5"), 0.5));
  EXPECT_TRUE(ConditionHolds(2LL, 2.0));
  EXPECT_TRUE(ConditionHolds(std::string("yes"), true));
  EXPECT_TRUE(ConditionHolds(std::string("1"), true));
  EXPECT_TRUE(ConditionHolds(std::string("relax"), std::string("relax")));
  // Not equal.
  EXPECT_FALSE(ConditionHolds(std::string("01"), std::string("1"))) << "text against text stays text";
  EXPECT_FALSE(ConditionHolds(std::string("Relax"), std::string("relax")));
  EXPECT_FALSE(ConditionHolds(std::string("one"), 1LL));
  EXPECT_FALSE(ConditionHolds(std::string("2"), 1LL));
  EXPECT_FALSE(ConditionHolds(std::string("no"), true));
  EXPECT_FALSE(ConditionHolds(std::string(""), 0LL));
  EXPECT_FALSE(ConditionHolds(TVariant{}, 0LL));
  EXPECT_TRUE(ConditionHolds(TVariant{}, TVariant{}));
}

TEST(ContextParamCollection, ValuesAndParamsKeepTheirSavedForm) {
  const std::string text =
      R"(<context_value name="fast" value="2"><context><param name="mode" value="relax"/></context></context_value>)";
  Ref<TContextValue> value = MakeRef<TContextValue>();
  value->Load(LoadStorageText(text));
  EXPECT_EQ(Text(value->GetValue()), "2");
  const auto out = NewStorage("context_value");
  value->Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(), text);

  Ref<TParam> param = MakeRef<TParam>();
  param->Load(LoadStorageText(R"(<param name="speed"/>)"));
  const auto saved = NewStorage("param");
  param->Save(saved);
  EXPECT_EQ(AsRoot(saved)->SaveToText(), R"(<param name="speed" value=""/>)") << "value always written";
}

}  // namespace
}  // namespace qv
