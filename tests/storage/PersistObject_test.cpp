#include "storage/PersistObject.h"

#include <gtest/gtest.h>

#include "storage/ClassRegistry.h"
#include "storage/Collections.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

// A class that records the creation-string parameters it receives.
class TRecorder : public TPersistObject {
public:
  std::vector<std::pair<std::string, std::string>> params;
  int value = 0;
  std::string colour;
  void SetParam(const std::string& name, const std::string& v) override { params.emplace_back(name, v); }
  void LoadFromStorage(const StorageRef& s) override {
    TPersistObject::LoadFromStorage(s);
    value = ReadInt(s, "value", 0);
    colour = ReadString(s, "colour", "");
  }
  void SaveToStorage(const StorageRef& s) override {
    TPersistObject::SaveToStorage(s);
    WriteInt(s, "value", value, value != 0);
    WriteString(s, "colour", colour, !colour.empty());
  }
};

class TPlain : public TAbstractObject {};

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterClass<TRecorder>("function_sin");
    RegisterClass<TRecorder>("function_sin_alias");
    RegisterClass<TPlain>("rect_widget");
  }
  void TearDown() override { TClassRegistry::Instance().Reset(); }
};

TEST_F(RegistryTest, CreationStringPassesEachPairToSetParam) {
  auto object = CreateFromStringAs<TRecorder>("function_sin{a=1\\b={x=2}}");
  ASSERT_TRUE(object);
  const decltype(object->params) expected{{"a", "1"}, {"b", "x=2"}};
  EXPECT_EQ(object->params, expected);
  EXPECT_EQ(object->GetTypeName(), "function_sin");  // the first name of the class
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndUnique) {
  EXPECT_TRUE(CreateFromString("RECT_WIDGET"));
  EXPECT_FALSE(CreateFromString("no_such_type"));
  EXPECT_THROW(RegisterClass<TPlain>("Rect_Widget"), EDuplicateEntry);
  EXPECT_EQ(ClassTypeName(typeid(TPlain)), "rect_widget");
  try {
    RegisterClass<TPlain>("rect_widget");
  } catch (const EDuplicateEntry& e) {
    EXPECT_STREQ(e.what(), "Duplicate entry.");
  }
}

TEST_F(RegistryTest, CreateFromNodeLoadsAndDropsObjectsThatCannotLoad) {
  auto s = LoadStorageText("<r><o type='function_sin' name='n1' value='5'/><o type='rect_widget'/></r>");
  auto first = Query<TRecorder>(CreateFromChild(s, "o", 0));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetName(), "n1");
  EXPECT_EQ(first->value, 5);
  EXPECT_FALSE(CreateFromChild(s, "o", 1));  // not persistent
  EXPECT_FALSE(CreateFromChild(s, "o", 2));

  auto loaded = CreateAndLoad<TRecorder>(s, "o", 0);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->value, 5);
  EXPECT_FALSE(CreateAndLoad<TRecorder>(s, "o", 7));
}

TEST(TypedAccessTest, ReadersGiveTheDefaultOnAnythingUnexpected) {
  auto s = LoadStorageText(
      "<r yes='yes' Yes='Yes' half='0.5' bad='abc' hex='$1F' big='99999999999' pos='center' n='-12'/>");
  EXPECT_TRUE(ReadBool(s, "yes", false));
  EXPECT_FALSE(ReadBool(s, "Yes", false));
  EXPECT_DOUBLE_EQ(ReadFloat(s, "half", 1), 0.5);
  EXPECT_DOUBLE_EQ(ReadFloat(s, "bad", 1), 1);
  EXPECT_EQ(ReadInt(s, "hex", 0), 31);
  EXPECT_EQ(ReadInt(s, "n", 0), -12);
  EXPECT_EQ(ReadInt(s, "big", 7), 7);
  EXPECT_EQ(ReadEnum(s, "pos", "left/center/right", 0), 1);
  EXPECT_EQ(ReadEnum(s, "bad", "left/center/right", 2), 2);
  EXPECT_EQ(ReadInt(nullptr, "x", 3), 3);

  auto w = NewStorage("w");
  WriteFloat(w, "f", 0.25);
  WriteEnum(w, "e", "/normal/screen", 1);
  WriteEnum(w, "none", "/normal/screen", 5);
  WriteBool(w, "b", false);
  WriteInt(w, "skipped", 0, false);
  EXPECT_EQ(AsRoot(w)->SaveToText(), "<w f=\"0.25\" e=\"screen\" b=\"no\"/>");
}

TEST(TypedAccessTest, ReadTextGoesThroughTheHook) {
  auto s = LoadStorageText("<r t='%name%'/>");
  SetReadTextHook([](const std::string& t) { return "[" + t + "]"; });
  EXPECT_EQ(ReadText(s, "t", ""), "[%name%]");
  SetReadTextHook(nullptr);
  EXPECT_EQ(ReadText(s, "t", ""), "%name%");
}

TEST(KeyedListTest, GeneratedKeysRunThroughTheSequence) {
  TKeyedList<int> list;
  std::vector<std::string> keys;
  for (int i = 0; i < 60; ++i) list.Add(std::nullopt, i);
  EXPECT_EQ(list.KeyAt(0), "!");
  EXPECT_EQ(list.KeyAt(1), "\"");
  EXPECT_EQ(list.KeyAt(57), "Z");
  EXPECT_EQ(list.KeyAt(58), "Z!");
  EXPECT_EQ(list.KeyAt(59), "Z\"");
}

TEST(KeyedListTest, KeysAreUniqueWithoutRegardToCase) {
  TKeyedList<int> list;
  EXPECT_EQ(list.Add(std::string("Alpha"), 1), 0);
  EXPECT_EQ(list.Add(std::string("ALPHA"), 2), -1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(*list.Find("alpha"), 1);
  EXPECT_EQ(list.Insert(0, std::string("b"), 3), 0);
  EXPECT_EQ(list.IndexOf("Alpha"), 1);
  EXPECT_TRUE(list.Delete("B"));
  EXPECT_FALSE(list.Delete(5));
}

TEST(KeyedListTest, ExplicitKeyAfterTheLastMovesTheSequence) {
  TKeyedList<int> list;
  list.Add(std::string("M"), 0);
  EXPECT_EQ(list.KeyAt(list.Add(std::nullopt, 1)), "N");
}

// A collection of recorders, loaded from "entry" elements.
class TRecorderList : public TStaticCreationPersistItemCollection<TRecorder> {
public:
  TRecorderList() { SetItemElementName("entry"); }
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
};

TEST(PersistCollectionTest, LoadsItemsInOrderAndSkipsUnstoredOnSave) {
  auto s = LoadStorageText("<list><entry name='a' value='1'/><entry name='b' value='2'/><x/></list>");
  auto list = MakeRef<TRecorderList>();
  list->Initialize();
  list->Load(s);
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->ItemAs<TRecorder>("b")->value, 2);
  list->ItemAs<TRecorder>(0)->SetStored(false);

  auto out = NewStorage("list");
  list->Save(out);
  EXPECT_EQ(out->GetChildCount("entry"), 1);
  EXPECT_EQ(out->GetChild("entry", 0)->ReadAttr("name", ""), "b");
}

class PersistFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetDataPathCache();
    TClassRegistry::Instance().Reset();
    RegisterClass<TRecorder>("recorder");
  }
  void TearDown() override {
    TClassRegistry::Instance().Reset();
    ResetDataPathCache();
  }
  test::TempDir dir;
  test::ScopedCurrentDir cwd{dir.Path()};
};

TEST_F(PersistFileTest, OutStorageSaveWritesTheFileAndOnlyTheLinkIntoTheNode) {
  auto object = MakeRef<TRecorder>();
  object->Initialize();
  object->SetName("thing");
  object->value = 9;
  object->SetOutStorage("file=store/thing.xml");
  auto node = NewStorage("object");
  object->Save(node);
  EXPECT_EQ(AsRoot(node)->SaveToText(), "<object _outstorage=\"file=store/thing.xml\"/>");
  EXPECT_EQ(test::ReadFile(dir.File("store/thing.xml")),
            "<object name=\"thing\" type=\"recorder\" value=\"9\"/>");

  // Loading the node back reads everything through the fallback.
  auto again = MakeRef<TRecorder>();
  again->Initialize();
  again->Load(LoadStorageText(AsRoot(node)->SaveToText()));
  EXPECT_EQ(again->value, 9);
  EXPECT_EQ(again->GetName(), "thing");
}

TEST_F(PersistFileTest, TemplateSavesOnlyWhatDiffersFromTheFile) {
  dir.Write("base.xml", "<object name=\"thing\" type=\"recorder\" value=\"9\" colour=\"red\"/>");
  auto node = LoadStorageText("<object _outstorage='file=base.xml' template='yes' value='4'/>");
  auto object = MakeRef<TRecorder>();
  object->Initialize();
  object->Load(node);
  EXPECT_EQ(object->value, 4);
  EXPECT_EQ(object->colour, "red");

  auto out = NewStorage("object");
  object->Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(),
            "<object value=\"4\" template=\"yes\" _outstorage=\"file=base.xml\"/>");
  EXPECT_EQ(test::ReadFile(dir.File("base.xml")),
            "<object name=\"thing\" type=\"recorder\" value=\"9\" colour=\"red\"/>");
}

TEST_F(PersistFileTest, SaveObjectToHonoursTheStoredFlag) {
  auto object = MakeRef<TRecorder>();
  object->Initialize();
  auto node = NewStorage("r");
  EXPECT_FALSE(SaveObjectTo(*object, node, ""));  // no storage name
  object->SetStorageName("rec");
  object->SetStored(false);
  EXPECT_TRUE(SaveObjectTo(*object, node, ""));
  EXPECT_EQ(node->GetChildCount("rec"), 0);
  object->SetStored(true);
  EXPECT_TRUE(SaveObjectTo(*object, node, ""));
  EXPECT_EQ(node->GetChildCount("rec"), 1);
  EXPECT_TRUE(LoadObjectFrom(*object, node, "", 0));
  EXPECT_FALSE(LoadObjectFrom(*object, node, "", 1));
}

}  // namespace
}  // namespace qv
