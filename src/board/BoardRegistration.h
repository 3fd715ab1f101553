// Registration of the board's types: the control, the cell and flower
// widgets, the level managers, the scenarios and the game's screens.
#pragma once

namespace qv {

// "GameBoardControl", "Cell3_5"-style cells are made in code ("CellWidget"
// for data), "FlowerWidget", the level managers ("RelaxLevelManager",
// "ClassicLevelManager", "DuelPlayerLevelManager",
// "DuelComputerLevelManager", "HowToPlayLevelManager"), the turn cycle's
// scenarios ("ScenarioExchangeFlowers", "ScenarioExplosion",
// "ScenarioCombinationExplosion", "ScenarioFalls", "ZintaraScenario"), and
// the screens "ZintaraGameScreenGame" and "ZintaraGameScreenMain".
void RegisterBoardTypes();

}  // namespace qv
