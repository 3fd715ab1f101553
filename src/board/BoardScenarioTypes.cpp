#include "board/BoardScenarioTypes.h"

#include "board/Bonus.h"
#include "board/BonusType.h"
#include "board/ScenarioComputerClickFlowers.h"
#include "board/ScenarioFlyArtifact.h"
#include "board/ScenarioFlyColorCell.h"
#include "board/ScenarioHintLink.h"
#include "board/ScenarioLevelEnd.h"
#include "board/ScenarioStartLevel.h"
#include "board/ScenarioStartLevelFlowerFall.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterBoardScenarioTypes() {
  RegisterClass<TScenarioStartLevel>("ScenarioStartLevel");
  RegisterClass<TScenarioStartLevelFlowerFall>("ScenarioStartLevelFlowerFall");
  RegisterClass<TScenarioLevelEnd>("ScenarioLevelFailed");
  RegisterClass<TScenarioHintLink>("ScenarioHintLink");
  RegisterClass<TScenarioComputerClickFlowers>("ScenarioComputerClickFlowers");
  RegisterClass<TScenarioFlyColorCell>("ScenarioFlyColorCell");
  RegisterClass<TScenarioFlyArtifact>("ScenarioFlyArtifact");
  RegisterClass<TBonusType>("BonusType");
  RegisterClass<TBonus>("Bonus");
}

}  // namespace qv
