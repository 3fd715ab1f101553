// Registration of the board's presentation scenarios and the bonus types.
#pragma once

namespace qv {

// "ScenarioStartLevel", "ScenarioStartLevelFlowerFall",
// "ScenarioLevelFailed", "ScenarioHintLink",
// "ScenarioComputerClickFlowers", "ScenarioFlyColorCell",
// "ScenarioFlyArtifact", "BonusType" and "Bonus".
void RegisterBoardScenarioTypes();

}  // namespace qv
