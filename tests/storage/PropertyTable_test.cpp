#include "storage/PropertyTable.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/PersistObject.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

// A widget-like class: every kind, every write rule and access flag, members
// and accessor pairs, and no hand-written load, save, get or set code.
class TPanel : public TPropertyObject {
protected:
  ~TPanel() override = default;

public:
  TPanel() { SetStorageName("panel"); }
  QV_PROPERTY_TABLE(TPanel)

  std::string caption, tooltip = "none", label;
  bool visible = false, paused = false, enabled = true;
  int z = 0, width = 0, height = 0, timeToLive = 0, cols = 1;
  uint16_t level = 0;
  float anchorLeft = 0.0f;
  double timeRate = 1.0;
  int drawMode = 0, align = 1;
  uint32_t fillColour = 0, colour = 0xFF000000u, secret = 0;
  int setterCalls = 0;

  int GetCurrentTime() const { return currentTime_; }
  void SetCurrentTime(int t) {
    currentTime_ = t;
    ++setterCalls;
  }
  double GetLeft() const { return anchorLeft + 0.5; }

private:
  int currentTime_ = 0;
};

const TPropertyTable<TPanel>& TPanel::Properties() {
  static const TPropertyTable<TPanel> table =
      TPropertyTable<TPanel>(TPropertyObject::Properties())
          .String("caption", &TPanel::caption)
          .Text("tooltip", &TPanel::tooltip, "none")
          .String("label", &TPanel::label)
          .Always()
          .Bool("visible", &TPanel::visible)
          .WhenTrue()
          .Bool("paused", &TPanel::paused)
          .StorageOnly()
          .Bool("enabled", &TPanel::enabled, true)
          .Int("z", &TPanel::z)
          .Int("width", &TPanel::width)
          .Always()
          .Int("height", &TPanel::height)
          .WriteIf([](const TPanel& p) { return p.width > 0; })
          .Int("timetolive", &TPanel::timeToLive)
          .ReadOnly()
          .Int("cols", &TPanel::cols, 1)
          .Int("level", &TPanel::level)
          .Int("currenttime", &TPanel::GetCurrentTime, &TPanel::SetCurrentTime)
          .Float("anchor_left", &TPanel::anchorLeft)
          .Always()
          .Float("time_rate", &TPanel::timeRate, 1.0)
          .Float("left", &TPanel::GetLeft, nullptr)
          .PropertyOnly()
          .Enum("drawmode", "/copyrect/fillcolor", &TPanel::drawMode, 0)
          .Enum("align", "/left/center/right", &TPanel::align, 1)
          .LoadOnly()
          .Colour("fillcolor", &TPanel::fillColour)
          .Always()
          .Colour("color", &TPanel::colour, 0xFF000000u)
          .Hex()
          .Colour("secret", &TPanel::secret)
          .WriteOnly();
  return table;
}

std::string Saved(TPersistObject& object) {
  const StorageRef out = NewStorage(object.GetStorageName());
  object.Save(out);
  return AsRoot(out)->SaveToText();
}

TEST(PropertyTable, DefaultsSaveOnlyWhatTheRulesAsk) {
  const Ref<TPanel> panelRef = MakeRef<TPanel>();
  TPanel& panel = *panelRef;
  EXPECT_EQ(Saved(panel), R"(<panel label="" width="0" anchor_left="0" fillcolor="0"/>)");
}

TEST(PropertyTable, LoadsEveryKindAndSavesInTableOrder) {
  SetReadTextHook([](const std::string& t) { return t == "%tip%" ? std::string("Click me") : t; });
  const StorageRef in = LoadStorageText(
      R"(<panel name="ok" caption="OK" tooltip="%tip%" label="L" visible="yes" paused="yes" enabled="no" z="-3"
         width="40" height="20" timetolive="500" cols="1" level="70000" currenttime="25" anchor_left="0.25"
         time_rate="0.5" left="99" drawmode="fillcolor" align="right" fillcolor="-16777216" color="$80FF0000"
         secret="7"/>)");
  const Ref<TPanel> panelRef = MakeRef<TPanel>();
  TPanel& panel = *panelRef;
  panel.Load(in);
  SetReadTextHook(nullptr);
  EXPECT_EQ(panel.GetName(), "ok");
  EXPECT_EQ(panel.caption, "OK");
  EXPECT_EQ(panel.tooltip, "Click me");
  EXPECT_TRUE(panel.visible);
  EXPECT_TRUE(panel.paused);
  EXPECT_FALSE(panel.enabled);
  EXPECT_EQ(panel.z, -3);
  EXPECT_EQ(panel.timeToLive, 500);
  EXPECT_EQ(panel.level, 70000 & 0xFFFF) << "a 16-bit member keeps the low 16 bits";
  EXPECT_EQ(panel.GetCurrentTime(), 25);
  EXPECT_EQ(panel.setterCalls, 1);
  EXPECT_FLOAT_EQ(panel.anchorLeft, 0.25f);
  EXPECT_DOUBLE_EQ(panel.timeRate, 0.5);
  EXPECT_EQ(panel.drawMode, 1);
  EXPECT_EQ(panel.align, 2);
  EXPECT_EQ(panel.fillColour, 0xFF000000u) << "a negative decimal is the colour's 32 bits";
  EXPECT_EQ(panel.colour, 0x80FF0000u);
  EXPECT_EQ(panel.secret, 7u);

  EXPECT_EQ(Saved(panel),
            R"(<panel name="ok" caption="OK" tooltip="Click me" label="L" visible="yes" paused="yes" )"
            R"(enabled="no" z="-3" width="40" height="20" timetolive="500" level="4464" currenttime="25" )"
            R"(anchor_left="0.25" time_rate="0.5" drawmode="fillcolor" fillcolor="-16777216" )"
            R"(color="$80FF0000" secret="7"/>)");
}

TEST(PropertyTable, PropertiesByNameFollowTheFlags) {
  const Ref<TPanel> panelRef = MakeRef<TPanel>();
  TPanel& panel = *panelRef;
  panel.anchorLeft = 2.0f;
  // Names ignore case; values come back in their kind.
  EXPECT_TRUE(panel.SetPropertyValue("Z", TVariant{7LL}));
  EXPECT_EQ(VarToInt(panel.GetPropertyValue("z")), 7);
  EXPECT_TRUE(panel.SetPropertyValue("VISIBLE", TVariant{std::string("yes")}));
  EXPECT_TRUE(panel.visible);
  EXPECT_TRUE(panel.SetPropertyValue("width", TVariant{std::string("12")}));
  EXPECT_EQ(panel.width, 12);
  EXPECT_TRUE(panel.SetPropertyValue("width", TVariant{std::string("twelve")}));
  EXPECT_EQ(panel.width, 12) << "text that is no number keeps the value";
  EXPECT_TRUE(panel.SetPropertyValue("currenttime", TVariant{9.6}));
  EXPECT_EQ(panel.GetCurrentTime(), 10);
  // A value that does not convert leaves the setter uncalled.
  EXPECT_TRUE(panel.SetPropertyValue("currenttime", TVariant{std::string("soon")}));
  EXPECT_TRUE(panel.SetPropertyValue("currenttime", TVariant{}));
  EXPECT_EQ(panel.setterCalls, 1);
  EXPECT_TRUE(panel.SetPropertyValue("visible", TVariant{std::string("Yes")}));
  EXPECT_TRUE(panel.visible);
  EXPECT_DOUBLE_EQ(VarToFloat(panel.GetPropertyValue("left")), 2.5);
  // Enumerations take a name or a position and read as the position.
  EXPECT_TRUE(panel.SetPropertyValue("drawmode", TVariant{std::string("fillcolor")}));
  EXPECT_EQ(VarToInt(panel.GetPropertyValue("drawmode")), 1);
  EXPECT_TRUE(panel.SetPropertyValue("drawmode", TVariant{0LL}));
  EXPECT_EQ(panel.drawMode, 0);
  // Colours read as signed 32-bit integers and take text or numbers.
  EXPECT_TRUE(panel.SetPropertyValue("fillcolor", TVariant{std::string("$FF00FF00")}));
  EXPECT_EQ(panel.fillColour, 0xFF00FF00u);
  EXPECT_EQ(VarToInt(panel.GetPropertyValue("fillcolor")), -16711936);
  EXPECT_TRUE(panel.SetPropertyValue("fillcolor", TVariant{4278190080LL}));
  EXPECT_EQ(panel.fillColour, 0xFF000000u);

  // Refusals: read-only, storage-only, getter-only, unknown; write-only reads empty.
  EXPECT_FALSE(panel.SetPropertyValue("timetolive", TVariant{1LL}));
  EXPECT_EQ(panel.timeToLive, 0);
  EXPECT_TRUE(VarIsEmpty(panel.GetPropertyValue("paused")));
  EXPECT_FALSE(panel.SetPropertyValue("paused", TVariant{true}));
  EXPECT_FALSE(panel.SetPropertyValue("left", TVariant{1.0}));
  EXPECT_FALSE(panel.SetPropertyValue("name", TVariant{std::string("x")}));
  EXPECT_TRUE(VarIsEmpty(panel.GetPropertyValue("type")));
  EXPECT_TRUE(VarIsEmpty(panel.GetPropertyValue("nosuchkey")));
  EXPECT_TRUE(VarIsEmpty(panel.GetPropertyValue("secret")));
  EXPECT_TRUE(panel.SetPropertyValue("secret", TVariant{3LL}));
  EXPECT_EQ(panel.secret, 3u);
  // A property-only key is neither loaded nor saved.
  panel.Load(LoadStorageText(R"(<panel left="50"/>)"));
  EXPECT_EQ(Saved(panel).find(" left="), std::string::npos);
}

TEST(PropertyTable, BadValuesAreReportedAndKeepTheDefault) {
  // One damaged value per kind; each is reported by its key and defaults.
  TDiagnosticsCollector diagnostics;
  const Ref<TPanel> panelRef = MakeRef<TPanel>();
  TPanel& panel = *panelRef;
  panel.Load(LoadStorageText(
      R"(<panel visible="Yes" z="3x" cols="99999999999" anchor_left="1,5" drawmode="Fillcolor"
         fillcolor="red" color="$1FF000000" caption="anything goes"/>)"));
  EXPECT_FALSE(panel.visible);
  EXPECT_EQ(panel.z, 0);
  EXPECT_EQ(panel.cols, 1);
  EXPECT_FLOAT_EQ(panel.anchorLeft, 0.0f);
  EXPECT_EQ(panel.drawMode, 0);
  EXPECT_EQ(panel.fillColour, 0u);
  EXPECT_EQ(panel.colour, 0xFF000000u);
  EXPECT_EQ(diagnostics.Errors().size(), 7u);
  for (const char* key : {"@visible", "@z", "@cols", "@anchor_left", "@drawmode", "@fillcolor", "@color"})
    EXPECT_TRUE(diagnostics.Has(key)) << key;
  EXPECT_TRUE(diagnostics.Has("'3x' is not an integer"));

  diagnostics.Clear();
  panel.Load(LoadStorageText(R"(<panel visible="no" z="$10" anchor_left="-0.5e1" drawmode="copyrect"/>)"));
  EXPECT_TRUE(diagnostics.Errors().empty());
  EXPECT_EQ(panel.z, 16);
  EXPECT_FLOAT_EQ(panel.anchorLeft, -5.0f);
}

// A base and a derived class: the derived table starts with the base's keys
// and replaces one of them in place.
class TBox : public TPropertyObject {
public:
  QV_PROPERTY_TABLE(TBox)
  int width = 0;
  int z = 0;
};

class TWideBox : public TBox {
public:
  QV_PROPERTY_TABLE(TWideBox)
  int depth = 0;
};

const TPropertyTable<TBox>& TBox::Properties() {
  static const TPropertyTable<TBox> table =
      TPropertyTable<TBox>(TPropertyObject::Properties()).Int("width", &TBox::width).Int("z", &TBox::z);
  return table;
}

const TPropertyTable<TWideBox>& TWideBox::Properties() {
  static const TPropertyTable<TWideBox> table = TPropertyTable<TWideBox>(TBox::Properties())
                                                    .Int("depth", &TWideBox::depth)
                                                    .Int("WIDTH", &TWideBox::width, 10)
                                                    .Always();
  return table;
}

TEST(PropertyTable, ChainedTablesKeepTheBaseOrderAndReplaceInPlace) {
  TWideBox box;
  box.Load(LoadStorageText(R"(<box z="2" depth="3"/>)"));
  EXPECT_EQ(box.width, 10) << "the derived default";
  EXPECT_EQ(box.z, 2);
  EXPECT_EQ(box.depth, 3);
  const StorageRef out = NewStorage("box");
  box.Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(), R"(<box WIDTH="10" z="2" depth="3"/>)");
  EXPECT_EQ(TWideBox::Properties().Entries().size(), 5u);  // name, type, width, z, depth
  // Through a base reference the derived table answers.
  TPropertyObject& asBase = box;
  EXPECT_TRUE(asBase.SetPropertyValue("depth", TVariant{4LL}));
  EXPECT_EQ(box.depth, 4);
  // The base table alone knows nothing of depth.
  TBox plain;
  EXPECT_FALSE(plain.SetPropertyValue("depth", TVariant{4LL}));
}

// A strict reader refuses the whole load: nothing is stored.
class TStrict : public TNamedObject {
public:
  int a = 1, b = 2;
  std::string c = "c";
  static const TPropertyTable<TStrict>& Properties() {
    static const TPropertyTable<TStrict> table = TPropertyTable<TStrict>()
                                                     .Int("a", &TStrict::a)
                                                     .String("c", &TStrict::c)
                                                     .Int("b", &TStrict::b)
                                                     .Read([](const StorageRef& s, const std::string& key) {
                                                       const int v = ReadInt(s, key, -1);
                                                       if (v < 0)
                                                         throw std::runtime_error(key + " is required");
                                                       return v;
                                                     });
    return table;
  }
};

TEST(PropertyTable, AThrowingReaderLeavesTheObjectUnchanged) {
  TStrict strict;
  EXPECT_THROW(TStrict::Properties().Load(strict, LoadStorageText(R"(<s a="5" c="x"/>)")),
               std::runtime_error);
  EXPECT_EQ(strict.a, 1);
  EXPECT_EQ(strict.c, "c");
  TStrict::Properties().Load(strict, LoadStorageText(R"(<s a="5" c="x" b="0"/>)"));
  EXPECT_EQ(strict.a, 5);
  EXPECT_EQ(strict.b, 0);
  EXPECT_EQ(strict.c, "x");
}

TEST(PropertyTable, TypeNameAndStorageNameWithoutInitialize) {
  TClassRegistry::Instance().Reset();
  RegisterClass<TPanel>("panel_widget");
  auto panel = MakeRef<TPanel>();  // no Initialize
  panel->SetName("p");
  const StorageRef root = NewStorage("root");
  EXPECT_TRUE(SaveObjectTo(*panel, root, ""));
  const StorageRef child = root->GetChild("panel", 0);
  ASSERT_TRUE(child);
  EXPECT_EQ(child->ReadAttr("type", ""), "panel_widget");
  auto again = CreateFromNodeAs<TPanel>(child);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetName(), "p");
  TClassRegistry::Instance().Reset();
}

}  // namespace
}  // namespace qv
