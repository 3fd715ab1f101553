// The map screen on a stand-in game for its tests and those of the screens
// it opens: a player "Anna", the level records, a level list with stories,
// and the screens the map opens as probes; every screen shown is logged
// with its parameters ("show GS_Game Level=3 PlayMode=relax Replay=no").
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/BoardRegistration.h"
#include "board/GameScreenMap.h"
#include "board/QuibControl.h"
#include "board/ZintaraMapControl.h"
#include "controls/ControlsTypes.h"
#include "game/ZinLevelCollection.h"
#include "particles/ParticlesTypes.h"
#include "playerdata/LevelRecords.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "screens/ScreenTestSupport.h"

namespace qv::test {

class TMapGame : public TStackGame {
public:
  explicit TMapGame(IInterface* engine) : TStackGame(engine) {
    profiles->Initialize();
    profiles->AddProfile("Anna");
    profiles->SetCurrentProfile("Anna");
  }
  bool ShowScreen(const std::string& name, IParamCollection* params) override {
    std::vector<std::string> pairs;
    for (int i = 0; params && i < params->GetParamCount(); ++i)
      if (const Ref<IParam> p = params->GetParamAt(i))
        pairs.push_back(p->GetName() + "=" + VarToString(p->GetValue()));
    std::sort(pairs.begin(), pairs.end());
    std::string line = "show " + name;
    for (const std::string& pair : pairs) line += " " + pair;
    shown.push_back(line);
    return TStackGame::ShowScreen(name, params);
  }
  IGSCollection* GetScreens() override { return screens.get(); }
  IUserProfileCollection* GetUserProfiles() override { return profiles.get(); }
  ILevelRecords* GetLevelRecords() override { return records.get(); }
  Ref<IInterface> GetContextObject(const std::string& name) override {
    return name == "zinlevels" ? Ref<IInterface>(levels) : nullptr;
  }
  IParamCollection& Profile() { return profiles->GetCurrentProfile()->GetParams(); }
  std::string ProfileText(const std::string& name) {
    return VarToString(Profile().GetParamValueDef(name, TVariant(std::string("-"))));
  }
  std::string TopName() const { return stack.empty() ? std::string() : stack.back()->GetName(); }
  // The shown screens since the last call, joined by "|".
  std::string TakeShown() {
    std::string out;
    for (const std::string& line : shown) out += (out.empty() ? "" : "|") + line;
    shown.clear();
    return out;
  }

  Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();
  Ref<TLevelRecords> records = TLevelRecords::CreateStandard();
  Ref<TZinLevelCollection> levels = MakeRef<TZinLevelCollection>();
  std::vector<std::string> shown;

protected:
  ~TMapGame() override = default;
};

inline std::string MapButton(const std::string& name, int x, int y, bool visible = true) {
  return "<widget type='test_control' name='" + name + "' visible='" + (visible ? "yes" : "no") +
         "' mousestop='yes' enabled='yes' anchor_left='" + std::to_string(x) + "' anchor_top='" +
         std::to_string(y) + "' width='20' height='20'/>";
}

// A map page: the level buttons and points, the mascot.
inline std::string MapPageXml(const std::string& name, const std::vector<std::pair<int, TPoint>>& levels) {
  std::string buttons;
  std::string points;
  for (const auto& [number, at] : levels) {
    buttons += MapButton("maplevel" + std::to_string(number), 0, 0);
    points += "<maplevel name='" + std::to_string(number) + "' anchor_left='" + std::to_string(at.x) +
              "' anchor_top='" + std::to_string(at.y) + "' z='1'/>";
  }
  return "<widget type='ZintaraMapControl' name='" + name +
         "' visible='yes' enabled='yes' mousestop='yes' width='640' height='480'><widgets>" + buttons +
         "<widget type='ZintaraQuibControl' name='quib' visible='no' enabled='yes' mousestop='yes' "
         "width='40' height='50' z='5'/></widgets><maplevels>" +
         points + "</maplevels></widget>";
}

// Page 1 holds levels 1, 2, 3 and 36; page 2 levels 36, 37, 71 and 72.
inline std::string MapScreenXml() {
  return "<gamescreen type='ZintaraGameScreenMap' name='GS_Map'><window><widgets>" +
         MapPageXml("map1", {{1, {100, 100}}, {2, {160, 180}}, {3, {260, 180}}, {36, {300, 300}}}) +
         MapPageXml("map2", {{36, {50, 400}}, {37, {50, 300}}, {71, {400, 100}}, {72, {500, 100}}}) +
         MapButton("button_start", 600, 440) + MapButton("button_stage1", 0, 440) +
         MapButton("button_stage2", 30, 440) + MapButton("button_trophies", 60, 440) +
         "</widgets></window></gamescreen>";
}

inline std::string ProbeXml(const std::string& name) {
  return "<gamescreen type='ProbeScreen' name='" + name + "'><window><widgets>" +
         MapButton("button_ok", 0, 0) + "</widgets></window></gamescreen>";
}

class TMapTest : public TStackGameTest<TMapGame> {
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
    // Level 1 tells story 2, level 2 story 5, level 36 story 7; level 3
    // holds artifact 4.
    game->levels->Load(LoadStorageText(
        "<levels><level level='1' filename='a' history='2'/><level level='2' filename='b' history='5'/>"
        "<level level='3' filename='c' DisplayName='The Ford' artifact='4'/><level level='36' filename='d' "
        "history='7'/>"
        "<level level='37' filename='e'/></levels>"));
  }
  // Closes the top screen with the pairs as its result.
  void CloseTop(std::initializer_list<std::pair<const char*, std::string>> result) {
    ASSERT_FALSE(game->stack.empty());
    const Ref<TParamCollection> params = MakeParams(result);
    game->CloseScreen(game->stack.back().get(), params.get());
  }
};

}  // namespace qv::test
