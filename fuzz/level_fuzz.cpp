// Level files as the game plays them: the storage text loaded as a level
// (a bad level is "no level"), the board built for each play mode and the
// turn driver run through the first moves it finds.
#include "FuzzSupport.h"
#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"
#include "storage/XMLStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  const StorageRef root = LoadStorageText(std::string(fuzz::Bytes(data, size)));
  if (!root) return 0;
  auto level = MakeRef<TZinLevel>();
  try {
    level->Load(root);
  } catch (const ELevelError&) {
    return 0;  // the board shows an empty level
  }
  const EPlayMode mode = size % 2 ? PlayModeFromText("timed") : PlayModeFromText("classic");
  SetRandomSeed(static_cast<uint32_t>(size));
  TBoardModel board;
  TTurnDriver driver(board);
  driver.StartLevel(*level, mode, static_cast<int>(size % 3));
  driver.RunToRest();
  for (int move = 0; move < 3 && !driver.Status() && !driver.Moves().Empty(); ++move) {
    const TLinkCellInfo first = driver.Moves()[0];
    driver.PlayMove(first.first, first.second);
  }
  if (!driver.Status() && driver.Waiting() == ETurnWait::Move) {
    (void)driver.Swap({0, 0}, {1, 0});  // a swap the player may try anywhere
    driver.RunToRest();
    (void)driver.Finish(ELevelStatus::TimeOut);
  }
  return 0;
}
