#include <gtest/gtest.h>

#include <stdexcept>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/GroupWidget.h"
#include "widgets/RectWidget.h"
#include "widgets/WidgetFactory.h"
#include "widgets/WidgetFactoryCollection.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeEngine;
using test::TFakeScreen;
using test::WidgetFromXml;

// A widget whose loading fails the way bad data makes it fail.
class TBrokenWidget : public TRectWidget {
public:
  void LoadFromStorage(const StorageRef&) override { throw std::runtime_error("broken"); }

protected:
  ~TBrokenWidget() override = default;
};

Ref<TWidgetFactory> FactoryFromXml(const std::string& xml) {
  return CreateFromNodeAs<TWidgetFactory>(LoadStorageText(xml));
}

Ref<TParamCollection> Params(std::initializer_list<std::pair<std::string, TVariant>> values) {
  Ref<TParamCollection> params = MakeRef<TParamCollection>();
  for (const auto& [name, value] : values) params->SetParamValue(name, value);
  return params;
}

class Factories : public test::TWidgetTest {
protected:
  static IWidgetOwner* Owner(const Ref<IWidget>& w) { return dynamic_cast<IWidgetOwner*>(w.get()); }
};

TEST_F(Factories, MacrosAreReplacedExactlyAndCumulatively) {
  const auto f = MakeRef<TWidgetFactory>();
  f->SetWidgetString(R"(<widget name="r%x%" anchor_left="%x%" z="%X%"/>)");
  EXPECT_EQ(f->ExpandMacros(Params({{"x", TVariant(5LL)}}).get()),
            R"(<widget name="r5" anchor_left="5" z="%X%"/>)");
  EXPECT_EQ(f->ExpandMacros(nullptr), R"(<widget name="r%x%" anchor_left="%x%" z="%X%"/>)");

  // Text inserted by an earlier parameter is seen by later ones, not earlier ones.
  f->SetWidgetString("[%a%|%b%]");
  EXPECT_EQ(f->ExpandMacros(Params({{"a", TVariant("%b%")}, {"b", TVariant("7")}}).get()), "[7|7]");
  EXPECT_EQ(f->ExpandMacros(Params({{"b", TVariant("7")}, {"a", TVariant("%b%")}}).get()), "[%b%|7]");
  // Values as text; a nameless parameter replaces no "%%"; a value holding
  // its own macro is not expanded again.
  f->SetWidgetString("%r% %t% %% %s%");
  EXPECT_EQ(
      f->ExpandMacros(
          Params({{"r", TVariant(0.5)}, {"t", TVariant(true)}, {"", TVariant("!")}, {"s", TVariant("%s%")}})
              .get()),
      "0.5 yes %% %s%");
}

TEST_F(Factories, AMacroFactoryMakesADetachedUnstoredWidget) {
  const auto f = FactoryFromXml(R"(<widgetfactory name="Spark" type="WidgetFactory" redefinedparams="z=x">
      <widgetstring><widget type="rect_widget" name="spark%n%" visible="yes" anchor_left="%x%" width="%x%" height="2"/></widgetstring>
    </widgetfactory>)");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->GetName(), "Spark");
  EXPECT_TRUE(f->GetUseMacros());
  const auto params = Params({{"n", TVariant(1LL)}, {"x", TVariant("12")}});
  const Ref<IWidget> w = f->CreateWidget(params.get());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->GetName(), "spark1");
  EXPECT_TRUE(w->IsVisible());
  EXPECT_EQ(w->GetAnchorLeft(), 12.0);
  EXPECT_EQ(w->GetWidth(), 12);
  EXPECT_EQ(w->GetHeight(), 2);
  EXPECT_EQ(w->GetZ(), 0);  // with macros "redefinedparams" does nothing
  EXPECT_EQ(w->GetOwner(), nullptr);
  EXPECT_FALSE(dynamic_cast<IPersistentEx*>(w.get())->IsStored());
  // Each call makes a new widget.
  EXPECT_NE(f->CreateWidget(params.get()).get(), w.get());
}

TEST_F(Factories, AMacroFreeTemplateIsParsedOnceAndRebuiltWhenItChanges) {
  const auto f = FactoryFromXml(R"(<widgetfactory name="Row" type="WidgetFactory" usemacros="no">
      <widgetstring>&lt;widget type="rect_widget" name="row" width="%x%" height="3"/&gt;</widgetstring>
    </widgetfactory>)");
  ASSERT_TRUE(f);
  EXPECT_FALSE(f->GetUseMacros());
  const auto params = Params({{"x", TVariant(9LL)}});
  const Ref<IWidget> a = f->CreateWidget(params.get());
  const Ref<IWidget> b = f->CreateWidget(params.get());
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(f->TemplateParses(), 1);
  EXPECT_EQ(a->GetWidth(), 0);  // no macros: "%x%" is no number
  EXPECT_EQ(b->GetHeight(), 3);

  EXPECT_EQ(f->GetWidgetString(), R"(<widget type="rect_widget" name="row" width="%x%" height="3"/>)");
  f->SetWidgetString(f->GetWidgetString());  // the same text: kept
  f->CreateWidget(nullptr);
  EXPECT_EQ(f->TemplateParses(), 1);
  f->SetWidgetString(R"(<widget type="rect_widget" name="row2" height="4"/>)");
  const Ref<IWidget> c = f->CreateWidget(nullptr);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->GetName(), "row2");
  EXPECT_EQ(c->GetHeight(), 4);
  EXPECT_EQ(f->TemplateParses(), 2);
  f->CreateWidget(nullptr);
  EXPECT_EQ(f->TemplateParses(), 2);
  // Loading a new widget string rebuilds too.
  f->Load(LoadStorageText(
      R"(<widgetfactory name="Row" usemacros="no">)"
      R"(<widgetstring><widget type="rect_widget" name="row3"/></widgetstring></widgetfactory>)"));
  EXPECT_EQ(f->CreateWidget(nullptr)->GetName(), "row3");
  EXPECT_EQ(f->TemplateParses(), 3);
}

TEST_F(Factories, RedefinedParamsCopyParametersIntoProperties) {
  TDiagnosticsCollector diagnostics;
  const auto f = FactoryFromXml(R"(<widgetfactory name="Fly" type="WidgetFactory" usemacros="no"
        redefinedparams="anchor_left=x\left=x\anchor_top = y\width=w\z=z">
      <widgetstring><widget type="rect_widget" name="fly" anchor_top="4" width="6"/></widgetstring>
    </widgetfactory>)");
  ASSERT_TRUE(f);
  // "left" is not writable (reported, the next pairs still apply); "w" is
  // not passed, so the template's width stays.
  const Ref<IWidget> w =
      f->CreateWidget(Params({{"x", TVariant("10.5")}, {"y", TVariant(20LL)}, {"z", TVariant(3LL)}}).get());
  ASSERT_TRUE(w);
  EXPECT_EQ(w->GetAnchorLeft(), 10.5);
  EXPECT_EQ(w->GetAnchorTop(), 20.0);
  EXPECT_EQ(w->GetWidth(), 6);
  EXPECT_EQ(w->GetZ(), 3);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "widget factory Fly redefinedparams");
  EXPECT_EQ(diagnostics.Errors()[0].what, "\"left\" is not a writable property");
  // Without params the template stands.
  const Ref<IWidget> plain = f->CreateWidget(nullptr);
  EXPECT_EQ(plain->GetAnchorTop(), 4.0);
}

TEST_F(Factories, SaveRoundTripOfAFactoryAndOfAGroupWithFactories) {
  const std::string factory =
      R"(<widgetfactory name="Fly" type="WidgetFactory" usemacros="no" redefinedparams="z=z">)"
      R"(<widgetstring><widget type="rect_widget" name="fly"/></widgetstring></widgetfactory>)";
  StorageRef out = NewStorage("widgetfactory");
  FactoryFromXml(factory)->Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(), factory);

  // A group saves its factories; a widget a factory made is not saved.
  const std::string group =
      R"(<widget name="g" type="group_widget" anchor_left="0" anchor_top="0">)"
      R"(<widgets><widget name="r" type="rect_widget" anchor_left="0" anchor_top="0" width="0" height="0" color="0"/></widgets>)"
      R"(<widgetfactories><widgetfactory name="A" type="WidgetFactory">)"
      R"(<widgetstring><widget type="rect_widget" name="made"/></widgetstring>)"
      R"(</widgetfactory></widgetfactories></widget>)";
  const Ref<IWidget> root = Attach(group);
  auto* g = dynamic_cast<TGroupWidget*>(root.get());
  ASSERT_EQ(g->WidgetFactories().GetFactoryCount(), 1);
  const Ref<IWidget> made = g->CreateWidget("a", nullptr);  // names ignore case
  ASSERT_TRUE(made);
  g->InsertWidget(made);
  EXPECT_EQ(root->GetChildren()->GetCount(), 2);
  StorageRef saved = NewStorage("widget");
  dynamic_cast<IPersistent*>(root.get())->Save(saved);
  EXPECT_EQ(AsRoot(saved)->SaveToText(), group);
}

TEST_F(Factories, TheRequestClimbsThroughOwnersAndTheNearestFactoryWins) {
  TDiagnosticsCollector diagnostics;
  // outer > middle > replicator (a decorator) > inner.
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="outer"><widgets>
        <widget type="group_widget" name="middle"><widgets>
          <widget type="replicator_widget" name="rep">
            <widget type="group_widget" name="inner">
              <widgetfactories><widgetfactory name="Shared" type="WidgetFactory">
                <widgetstring><widget type="rect_widget" name="innerShared"/></widgetstring>
              </widgetfactory></widgetfactories>
            </widget>
          </widget>
        </widgets></widget>
      </widgets>
      <widgetfactories>
        <widgetfactory name="Butterfly" type="WidgetFactory">
          <widgetstring><widget type="rect_widget" name="b%n%" z="%n%"/></widgetstring>
        </widgetfactory>
        <widgetfactory name="Shared" type="WidgetFactory">
          <widgetstring><widget type="rect_widget" name="outerShared"/></widgetstring>
        </widgetfactory>
        <widgetfactory name="Fallback" type="WidgetFactory">
          <widgetstring><widget type="rect_widget" name="outerFallback"/></widgetstring>
        </widgetfactory>
      </widgetfactories></widget>)");
  const Ref<IWidget> inner = root->FindWidget("middle/rep/inner");
  ASSERT_TRUE(inner);
  const Ref<IWidget> b = Owner(inner)->CreateWidget("Butterfly", Params({{"n", TVariant(4LL)}}).get());
  ASSERT_TRUE(b);
  EXPECT_EQ(b->GetName(), "b4");
  EXPECT_EQ(b->GetZ(), 4);
  EXPECT_EQ(b->GetOwner(), nullptr);
  EXPECT_EQ(inner->GetChildren()->GetCount(), 0);
  EXPECT_EQ(root->GetChildren()->GetCount(), 1);
  EXPECT_EQ(Owner(inner)->CreateWidget("shared", nullptr)->GetName(), "innerShared");
  EXPECT_EQ(Owner(root->FindWidget("middle"))->CreateWidget("Shared", nullptr)->GetName(), "outerShared");
  EXPECT_TRUE(diagnostics.Errors().empty());

  // An inner factory that makes nothing (reported) gives way to an outer
  // one of the same name; the top says nothing of an unknown name.
  auto* innerGroup = dynamic_cast<TGroupWidget*>(inner.get());
  const auto broken = MakeRef<TWidgetFactory>();
  broken->SetName("Fallback");
  broken->SetWidgetString("<widget");
  ASSERT_TRUE(innerGroup->WidgetFactories().AddFactory(broken));
  EXPECT_EQ(Owner(inner)->CreateWidget("Fallback", nullptr)->GetName(), "outerFallback");
  EXPECT_TRUE(diagnostics.Has("widget factory Fallback"));
  EXPECT_FALSE(diagnostics.Has("no widget factory named"));
  // One that only the inner group has fails once, with its own reason.
  diagnostics.Clear();
  const auto onlyInner = MakeRef<TWidgetFactory>();
  onlyInner->SetName("OnlyInner");
  onlyInner->SetWidgetString("<widget");
  ASSERT_TRUE(innerGroup->WidgetFactories().AddFactory(onlyInner));
  EXPECT_FALSE(Owner(inner)->CreateWidget("OnlyInner", nullptr));
  EXPECT_EQ(diagnostics.Errors().back().where, "widget factory OnlyInner");
  EXPECT_FALSE(diagnostics.Has("no widget factory named"));

  // A name nobody knows: reported once, at the top.
  diagnostics.Clear();
  EXPECT_FALSE(Owner(inner)->CreateWidget("Artifact", nullptr));
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "widget screen/outer");
  EXPECT_EQ(diagnostics.Errors()[0].what, "no widget factory named \"Artifact\"");
}

TEST_F(Factories, TemplatesThatGiveNoWidgetAreReported) {
  RegisterClass<TBrokenWidget>("broken_widget");
  struct Case {
    std::string widgetString;
    std::string what;
  };
  const std::vector<Case> cases = {
      {"", "the widget string is empty; no widget is made"},
      {R"(<widget type="rect_widget")", "the expanded widget string does not parse; no widget is made"},
      {R"(<widget type="no_such_widget"/>)", "unknown type \"no_such_widget\"; nothing is created"},
      {R"(<widget name="x"/>)", "no \"type\" given; nothing is created"},
      {R"(<widget type="WidgetFactory"/>)", "type \"WidgetFactory\" is not a widget; no widget is made"},
      {R"(<widget type="broken_widget"/>)", "making the widget failed (broken); no widget is made"},
  };
  for (const Case& c : cases) {
    TDiagnosticsCollector diagnostics;
    const auto f = MakeRef<TWidgetFactory>();
    f->SetName("Bad");
    f->SetWidgetString(c.widgetString);
    EXPECT_FALSE(f->CreateWidget(nullptr)) << c.widgetString;
    ASSERT_FALSE(diagnostics.Errors().empty()) << c.widgetString;
    // The storage layer may say where the text broke first; the factory
    // names itself last.
    EXPECT_EQ(diagnostics.Errors().back().where, "widget factory Bad") << c.widgetString;
    EXPECT_EQ(diagnostics.Errors().back().what, c.what) << c.widgetString;
  }

  // Without macros a broken template is parsed and reported once, until it changes.
  TDiagnosticsCollector diagnostics;
  const auto f = MakeRef<TWidgetFactory>();
  f->SetName("Cached");
  f->SetUseMacros(false);
  f->SetWidgetString("<widget");
  EXPECT_FALSE(f->CreateWidget(nullptr));
  EXPECT_FALSE(f->CreateWidget(nullptr));
  EXPECT_EQ(f->TemplateParses(), 1);
  EXPECT_EQ(diagnostics.Errors().back().what, "the widget string does not parse; no widget is made");
  const size_t reports = diagnostics.Errors().size();
  f->SetWidgetString(R"(<widget type="rect_widget" name="ok"/>)");
  EXPECT_EQ(f->CreateWidget(nullptr)->GetName(), "ok");
  EXPECT_EQ(diagnostics.Errors().size(), reports);
}

TEST_F(Factories, TheCollectionKeysByNameAndDropsWhatIsNoFactory) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> root = WidgetFromXml(R"(<widget type="group_widget" name="g"><widgetfactories>
      <widgetfactory name="One" type="WidgetFactory"/>
      <widgetfactory name="one" type="WidgetFactory"/>
      <widgetfactory name="Rect" type="rect_widget"/>
      <widgetfactory name="Two" type="no_such_factory"/>
      <widgetfactory name="Three" type="WidgetFactory"/>
    </widgetfactories></widget>)");
  auto& factories = dynamic_cast<TGroupWidget*>(root.get())->WidgetFactories();
  ASSERT_EQ(factories.GetFactoryCount(), 2);
  EXPECT_EQ(factories.GetFactory(0)->GetName(), "One");
  EXPECT_EQ(factories.GetFactory(1)->GetName(), "Three");
  EXPECT_EQ(factories.GetFactoryByName("THREE").get(), factories.GetFactory(1).get());
  EXPECT_FALSE(factories.GetFactoryByName("Two"));
  EXPECT_FALSE(factories.GetFactory(2));
  EXPECT_EQ(diagnostics.Errors().size(), 3u);
  EXPECT_TRUE(diagnostics.Has("a second item named \"one\""));
  EXPECT_TRUE(diagnostics.Has("an item that is not a widget factory is dropped"));
  EXPECT_TRUE(diagnostics.Has("unknown type \"no_such_factory\""));
}

}  // namespace
}  // namespace qv
