// The base of the board's scenarios: a scenario that runs in numbered
// stages once its start delay (a negative "currenttime") has passed. It may
// start child scenarios in the board's "scenaries_group" and list them as
// its own; each frame after its delay, when none of its listed children is
// still alive, it moves to the next stage. After its last stage it ends
// (marks itself dead), so the board's watch on it fires only when all it
// started has ended.
#pragma once

#include <string>
#include <vector>

#include "game/BoardTypes.h"
#include "widgets/Scenario.h"

namespace qv {

class TGameBoardControl;

class TZintaraScenario : public TScenario {
public:
  // "RefCells" (the cells the scenario works on) and "childscenaries"
  // (its children's names joined by ";").
  QV_PROPERTY_TABLE(TZintaraScenario)

  // The group step, then the stages (see above).
  void AdvanceTime(int dt) override;

  int GetStage() const { return stage_; }
  const TCellList& GetCells() const { return cells_; }
  const std::string& GetRefCells() const { return refCells_; }
  void SetRefCells(const std::string& text);
  // The board this scenario runs on: the first board among its owners.
  TGameBoardControl* Board() const;

  // Children listed by name: the stage waits for them.
  void AddChildScenario(const std::string& name);
  // A child that ends by itself before its own death (a flight that has
  // arrived) takes itself out of the list.
  void RemoveChildScenario(const std::string& name);
  const std::vector<std::string>& ChildScenarios() const { return children_; }
  bool AnyChildAlive() const;
  // Starts a scenario by factory name in the board's scenario group and
  // lists it; empty when it cannot be made.
  Ref<IWidget> StartChild(const std::string& factory, IParamCollection* params);

protected:
  ~TZintaraScenario() override = default;

  // The number of stages; the scenario ends after the last one.
  virtual int StageCount() const { return 1; }
  // Entering stage `stage` (1 first).
  virtual void BeginStage(int stage) { (void)stage; }
  // Every frame of a stage after the delay, before the stage check.
  virtual void StageFrame(int stage, int dt) {
    (void)stage;
    (void)dt;
  }
  // Whether the stage's own work is done (its children are checked too).
  virtual bool StageReady(int stage) const {
    (void)stage;
    return true;
  }
  // Once, when the scenario ends.
  virtual void Finished() {}

private:
  int stage_ = 0;
  bool ended_ = false;
  std::string refCells_;
  TCellList cells_;
  std::vector<std::string> children_;
};

}  // namespace qv
