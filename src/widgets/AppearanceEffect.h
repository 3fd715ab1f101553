// An appearance effect: a decorator whose child animates the picture of the
// group that appears or disappears. It runs for "durationtime" ticks from
// its start and then reports state finished.
#pragma once

#include <string>

#include "widgets/DecorateWidget.h"
#include "widgets/IAppearanceEffect.h"

namespace qv {

class TAppearanceEffect : public TBehaviourWidget, public IAppearanceEffect {
public:
  // "durationtime" (always written); "state" a property only.
  QV_PROPERTY_TABLE(TAppearanceEffect)

  void Start(const Ref<ISurface>& picture, IParamCollection* params) override;
  int GetState() const override { return state_; }
  void SetState(int state) override { state_ = state; }
  int GetDurationTime() const { return durationTime_; }
  // The parameters of the last start (null before the first).
  IParamCollection* GetStartParams() const { return params_.get(); }

  // Own step and the child's, then finished once the duration is reached.
  void AdvanceTime(int dt) override;

protected:
  ~TAppearanceEffect() override = default;

  // Where the picture goes; the base effect keeps none.
  virtual void ReceivePicture(const Ref<ISurface>& picture) { (void)picture; }
  // The names of the start parameters are properties of the effect.
  bool GetSpecialProperty(const std::string& name, TVariant& value) override;
  bool SetSpecialProperty(const std::string& name, const TVariant& value) override;

private:
  int state_ = kEffectIdle;
  int durationTime_ = 0;
  Ref<TParamCollection> params_;
};

// An effect whose child draws the picture: the picture becomes the object
// property named by "surfaceparamname" (a path from the effect, such as
// "0/surface"; a plain name the effect does not take goes to its child).
class TFunctionAppearanceEffect : public TAppearanceEffect {
public:
  // "surfaceparamname", written when not empty.
  QV_PROPERTY_TABLE(TFunctionAppearanceEffect)

  const std::string& GetSurfaceParamName() const { return surfaceParamName_; }

protected:
  ~TFunctionAppearanceEffect() override = default;

  void ReceivePicture(const Ref<ISurface>& picture) override;

private:
  std::string surfaceParamName_;
};

}  // namespace qv
