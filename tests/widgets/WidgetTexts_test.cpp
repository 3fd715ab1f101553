// Texts expanded again after the language changed: every text widget of a
// tree, however it is nested or hidden, shows its macro text in the new
// language; literal texts and what code wrote stay as written.
#include <gtest/gtest.h>

#include <map>

#include "core/ProcessContext.h"
#include "storage/ClassRegistry.h"
#include "widgets/ResourceTestSupport.h"
#include "widgets/TextWidget.h"
#include "widgets/WidgetTexts.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeScreen;
using test::TResourceEngine;
using test::WidgetFromXml;

// A stand-in for the language tables: "%name%" looked up in `table`.
void UseLanguage(const std::map<std::string, std::string>& table) {
  ProcessContext().textHook = [table](const std::string& text) {
    std::string out = text;
    for (const auto& [name, value] : table) {
      const std::string macro = "%" + name + "%";
      for (size_t at = out.find(macro); at != std::string::npos; at = out.find(macro, at + value.size()))
        out.replace(at, macro.size(), value);
    }
    return out;
  };
}

const std::map<std::string, std::string> kEnglish = {{"play", "Play"}, {"quit", "Quit"}, {"hint", "Hint"}};
const std::map<std::string, std::string> kGerman = {
    {"play", "Spielen"}, {"quit", "Beenden"}, {"hint", "Tipp"}};

class WidgetTexts : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterWidgetsTypes();
    UseLanguage(kEnglish);
  }
  void TearDown() override {
    screen->DetachRoot();
    ProcessContext().textHook = nullptr;
    TClassRegistry::Instance().Reset();
  }
  std::string TextOf(const std::string& path) {
    const Ref<IWidget> w = root->FindWidget(path);
    EXPECT_TRUE(w) << path;
    return w ? VarToString(w->GetPropertyValue("text")) : std::string();
  }

  Ref<TResourceEngine> engine = MakeRef<TResourceEngine>();
  Ref<TFakeScreen> screen = MakeRef<TFakeScreen>(engine.get());
  Ref<IWidget> root;
};

TEST_F(WidgetTexts, EveryTextOfTheTreeFollowsTheLanguage) {
  // A group with a caption, a hidden group inside, a decorator's child and
  // a literal text.
  root = WidgetFromXml(R"(<widget type="group_widget" name="root" visible="yes"><widgets>
      <widget type="text_widget" name="caption" visible="yes" text="%play%!"/>
      <widget type="group_widget" name="later" visible="no"><widgets>
        <widget type="text_widget" name="deep" visible="no" text="%quit% / %play%"/>
      </widgets></widget>
      <widget type="rotate_widget" name="mover" visible="yes">
        <widget type="text_widget" name="moved" visible="yes" text="%hint%"/>
      </widget>
      <widget type="text_widget" name="literal" visible="yes" text="42"/>
    </widgets></widget>)");
  ASSERT_TRUE(root);
  screen->SetRoot(root);
  EXPECT_EQ(TextOf("caption"), "Play!");
  EXPECT_EQ(TextOf("later/deep"), "Quit / Play");
  EXPECT_EQ(TextOf("mover/moved"), "Hint");
  auto* caption = QueryPtr<TTextWidget>(root->FindWidget("caption").get());
  EXPECT_EQ(caption->GetMacroText(), "%play%!");

  UseLanguage(kGerman);
  EXPECT_EQ(TextOf("caption"), "Play!");  // nothing changes by itself
  EXPECT_EQ(ReexpandTexts(*root), 3);     // the literal text did not change
  EXPECT_EQ(TextOf("caption"), "Spielen!");
  EXPECT_EQ(TextOf("later/deep"), "Beenden / Spielen");
  EXPECT_EQ(TextOf("mover/moved"), "Tipp");
  EXPECT_EQ(TextOf("literal"), "42");
  EXPECT_TRUE(caption->NeedsRepaint());
  EXPECT_EQ(ReexpandTexts(*root), 0);  // a second pass changes nothing

  // What code writes is kept as written: a macro follows the next
  // language, a value stays.
  caption->SetText("%quit%");
  root->FindWidget("literal")->SetPropertyValue("text", std::string("7"));
  EXPECT_EQ(TextOf("caption"), "Beenden");
  UseLanguage(kEnglish);
  EXPECT_EQ(ReexpandTexts(*root), 3);
  EXPECT_EQ(TextOf("caption"), "Quit");
  EXPECT_EQ(caption->GetMacroText(), "%quit%");
  EXPECT_EQ(TextOf("literal"), "7");
}

TEST_F(WidgetTexts, ALoneTextWidgetIsItsOwnTree) {
  root = WidgetFromXml(R"(<widget type="text_widget" name="only" visible="yes" text="%hint%"/>)");
  screen->SetRoot(root);
  UseLanguage(kGerman);
  EXPECT_EQ(ReexpandTexts(*root), 1);
  EXPECT_EQ(VarToString(root->GetPropertyValue("text")), "Tipp");
}

}  // namespace
}  // namespace qv
