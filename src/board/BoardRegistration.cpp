#include "board/BoardRegistration.h"

#include "board/BoardScenarioTypes.h"
#include "board/CellWidget.h"
#include "board/FlowerWidget.h"
#include "board/FlyWidget.h"
#include "board/GameBoardControl.h"
#include "board/GameScreenGame.h"
#include "board/GameScreenHistory.h"
#include "board/GameScreenHowToPlay.h"
#include "board/GameScreenLevelRecords.h"
#include "board/GameScreenMain.h"
#include "board/GameScreenMap.h"
#include "board/GameScreenMiniMenu.h"
#include "board/GameScreenStatLevel.h"
#include "board/GameScreenTrophies.h"
#include "board/LevelManager.h"
#include "board/OilLampControl.h"
#include "board/QuibControl.h"
#include "board/ScenarioCombinationExplosion.h"
#include "board/ScenarioExchangeFlowers.h"
#include "board/ScenarioExplosion.h"
#include "board/ScenarioFalls.h"
#include "board/ZintaraLocationWidget.h"
#include "board/ZintaraMapControl.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterBoardTypes() {
  RegisterClass<TGameBoardControl>("GameBoardControl");
  RegisterClass<TCellWidget>("CellWidget");
  RegisterClass<TFlowerWidget>("FlowerWidget");
  RegisterClass<TFlyWidget>("ZintaraFlyWidget");
  RegisterClass<TRelaxLevelManager>("RelaxLevelManager");
  RegisterClass<TClassicLevelManager>("ClassicLevelManager");
  RegisterClass<TDuelLevelManager>("DuelPlayerLevelManager");
  RegisterClass<TDuelComputerLevelManager>("DuelComputerLevelManager");
  RegisterClass<THowToPlayLevelManager>("HowToPlayLevelManager");
  RegisterClass<TZintaraScenario>("ZintaraScenario");
  RegisterClass<TScenarioExchangeFlowers>("ScenarioExchangeFlowers");
  RegisterClass<TScenarioExplosion>("ScenarioExplosion");
  RegisterClass<TScenarioCombinationExplosion>("ScenarioCombinationExplosion");
  RegisterClass<TScenarioFalls>("ScenarioFalls");
  RegisterClass<TZintaraGameScreenGame>("ZintaraGameScreenGame");
  RegisterClass<TZintaraGameScreenMain>("ZintaraGameScreenMain");
  // The timed mode's time display and the pause menu.
  RegisterClass<TZintaraOilLampControl>("ZintaraOilLampControl");
  RegisterClass<TZintaraGameScreenMiniMenu>("ZintaraMiniMenuGameScreen");
  // The statistics and rules screens.
  RegisterClass<TZintaraGameScreenStatLevel>("ZintaraGameScreenStatLevel");
  RegisterClass<TZintaraGameScreenHowToPlay>("ZintaraGameScreenHowToPlay");
  // The map: its pages, locations and mascot.
  RegisterClass<TQuibControl>("ZintaraQuibControl");
  RegisterClass<TZintaraLocationWidget>("ZintaraLocationWidget");
  RegisterClass<TZintaraMapControl>("ZintaraMapControl");
  RegisterClass<TZintaraGameScreenMap>("ZintaraGameScreenMap");
  RegisterClass<TZintaraGameScreenLevelRecords>("ZintaraGameScreenLevelRecords");
  RegisterClass<TZintaraGameScreenHistory>("ZintaraGameScreenHistory");
  RegisterClass<TZintaraTrophiesGameScreen>("ZintaraGameScreenTrophies");
  RegisterBoardScenarioTypes();
}

}  // namespace qv
