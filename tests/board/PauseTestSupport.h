// The game screen on a stand-in game for the pause menu's tests: the stack
// of shown screens (tests/screens), the screen list, a player profile and
// a level list of one level file in a temporary folder; screens made from
// their XML text with test buttons (a release on one is a click).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/BoardRegistration.h"
#include "board/BoardTestSupport.h"
#include "board/GameBoardControl.h"
#include "board/GameScreenGame.h"
#include "board/GameScreenMiniMenu.h"
#include "board/LevelManager.h"
#include "board/OilLampControl.h"
#include "controls/ControlsTypes.h"
#include "core/Random.h"
#include "game/ZinLevelCollection.h"
#include "particles/ParticlesTypes.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenTestSupport.h"
#include "support/TestSupport.h"

namespace qv::test {

class TPlayGame : public TStackGame {
public:
  explicit TPlayGame(IInterface* engine) : TStackGame(engine) { profiles->Initialize(); }
  IGSCollection* GetScreens() override { return screens.get(); }
  IUserProfileCollection* GetUserProfiles() override { return profiles.get(); }
  Ref<IInterface> GetContextObject(const std::string& name) override {
    return name == "zinlevels" ? Ref<IInterface>(levels) : nullptr;
  }
  IGameScreenSlave* Top() const { return stack.empty() ? nullptr : stack.back().get(); }
  std::string TopName() const { return stack.empty() ? std::string() : stack.back()->GetName(); }

  Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();
  Ref<TZinLevelCollection> levels = MakeRef<TZinLevelCollection>();

protected:
  ~TPlayGame() override = default;
};

// A button of the tests at (x, y), 100 x 30.
inline std::string TestButton(const std::string& name, int x, int y, bool visible = true) {
  return R"(<widget type="test_control" name=")" + name + R"(" visible=")" + (visible ? "yes" : "no") +
         R"(" mousestop="yes" enabled="yes" anchor_left=")" + std::to_string(x) + R"(" anchor_top=")" +
         std::to_string(y) + R"(" width="100" height="30"/>)";
}

// The pause menu: five visible buttons (and a hidden one) in a group at
// (270, 100), the part below them and the shade.
inline std::string MiniMenuXml() {
  return R"(<gamescreen type="ZintaraMiniMenuGameScreen" name="GS_MiniMenu"><window><widgets>)"
         R"(<widget type="rect_widget" name="shadow_rect" visible="yes" width="640" height="480"/>)"
         R"(<widget type="group_widget" name="buttons_group" visible="yes" mousestop="yes" anchor_left="270" anchor_top="100"><widgets>)" +
         TestButton("button_unpause", 0, 0) + TestButton("button_restart", 0, 0) +
         TestButton("button_secret", 0, 0, false) + TestButton("button_options", 0, 0) +
         TestButton("button_rules", 0, 0) + TestButton("button_main_menu", 0, 0) +
         R"(</widgets></widget>)"
         R"(<widget type="rect_widget" name="bottom_window" visible="yes" anchor_left="270" width="100" height="20"/>)"
         R"(</widgets></window></gamescreen>)";
}

inline std::string QueryXml(const std::string& name) {
  return R"(<gamescreen type="GameScreenQueryDialog" name=")" + name + R"("><window><widgets>)" +
         TestButton("button_yes", 160, 280) + TestButton("button_cancel", 330, 280) +
         R"(</widgets></window></gamescreen>)";
}

// The lamp with plain parts (24 pixels of oil).
inline std::string LampXml() {
  return R"(<widget type="group_widget" name="quest_mode" visible="yes"><widgets>)"
         R"(<widget type="ZintaraOilLampControl" name="OilLamp_control" visible="no" width="180" height="40"><widgets>)"
         R"(<widget type="rect_widget" name="image_oil_lamp" visible="yes" width="60" height="24"/>)"
         R"(<widget type="rect_widget" name="image_oil_lamp_shine" visible="no"/>)"
         R"(<widget type="rect_widget" name="blink_OilLamp" visible="no"/>)"
         R"(<widget type="rect_widget" name="fire" visible="no"/>)"
         R"(<widget type="rect_widget" name="fire_shine" visible="no"/>)"
         R"(<widget type="rect_widget" name="fire_animation" visible="no"/>)"
         R"(<widget type="rect_widget" name="fire_end" visible="no"/>)"
         R"(<widget type="stochastic_particle_system" name="ps_OilLamp" visible="yes"/>)"
         R"(</widgets></widget></widgets></widget>)";
}

// The game screen: the board (the board tests' widget text with the extra
// factories), the menu button and the lamp; musics as given.
inline std::string GameXml(const std::string& board, const std::string& musics) {
  return R"(<gamescreen type="ZintaraGameScreenGame" name="GS_Game"><window><widgets>)" + board +
         TestButton("button_menu", 270, 440) + LampXml() + R"(</widgets>)" + musics +
         R"(</window></gamescreen>)";
}

// A 6 x 5 level of four colours, 40 s.
inline constexpr const char* kPauseLevel =
    R"(<level name="Pause" Flowercolors="11,22,33,44" time="40" shift_x="180" shift_y="100" cols="6" rows="5" )"
    R"(Celltype_default="1" Flowercolor_default="-1" Cellcolor_default="0"/>)";

class TPauseTest : public TStackGameTest<TPlayGame> {
protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    RegisterScreensTypes();
    RegisterControlsTypes();
    RegisterParticlesTypes();
    RegisterBoardTypes();
    RegisterClass<TTestControl>("test_control");
    RegisterClass<TProbeScreen>("ProbeScreen");
    Log().clear();
    SetRandomSeed(7);
    dir.Write("levels/pause.xml", kPauseLevel);
    game->levels->Load(LoadStorageText(R"(<levels><level level="1" filename=")" +
                                       dir.File("levels/pause.xml") + R"("/><level level="2" filename=")" +
                                       dir.File("levels/pause.xml") + R"("/></levels>)"));
    game->profiles->AddProfile("Anna");
    game->profiles->SetCurrentProfile("Anna");
  }

  TempDir dir;
};

}  // namespace qv::test
