// A scenario that fades its target ("widget") from one transparency level to
// another over "timetolive" and gives the target its old level back at the end.
#pragma once

#include "widgets/Scenario.h"

namespace qv {

class TTransparentScenario : public TScenario {
public:
  // "start_trans_level", "end_trans_level" (0..255, default 255) and
  // "makeinvisible", all always written.
  QV_PROPERTY_TABLE(TTransparentScenario)

  // The group step, then the scenario step: the level while the clock is
  // inside (0, timetolive); Finish and death once it reaches the end.
  void AdvanceTime(int dt) override;
  // Finish, then the group's detach.
  void Detach() override;
  Ref<IInterface> GetObjectProperty(const std::string& name) override;
  // "widget": the previous target finished, the new one takes the level of
  // the current time at once.
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;

  IWidget* GetTarget() const { return target_.get(); }
  void SetTarget(const Ref<IWidget>& target);
  int GetSavedLevel() const { return savedLevel_; }

protected:
  ~TTransparentScenario() override = default;

  // Restores the saved level, hides the target with "makeinvisible" and
  // releases it; nothing without a target.
  virtual void Finish();
  // The scenario step after the group step while 0 < currentTime < timetolive.
  virtual void Step();
  // start + (end - start) * currentTime div timetolive, truncating.
  int LevelAt(int time) const;
  // "timetolive" must be positive: reported once per scenario.
  bool CheckTimeToLive();

  int startLevel_ = 255;
  int endLevel_ = 255;
  int savedLevel_ = 255;
  Ref<IWidget> target_;
  bool makeInvisible_ = false;
  bool reportedTime_ = false;
  bool reportedTarget_ = false;
};

}  // namespace qv
