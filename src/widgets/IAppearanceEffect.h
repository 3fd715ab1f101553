// One appearance effect: a widget that takes a picture of the group it
// animates, runs for its duration and then reports that it has finished.
#pragma once

#include "core/Ref.h"
#include "graphics/Surface.h"
#include "storage/ParamCollection.h"

namespace qv {

// The states of an effect and of an effect collection.
enum EEffectState : int {
  kEffectIdle = -1,
  kEffectRunning = 0,
  kEffectFinished = 1,
};

class IAppearanceEffect : public virtual IInterface {
protected:
  ~IAppearanceEffect() override = default;

public:
  // Plays the effect's "sound_effect", hands the picture over, copies the
  // parameters and restarts the effect (state running).
  virtual void Start(const Ref<ISurface>& picture, IParamCollection* params) = 0;
  virtual int GetState() const = 0;
  virtual void SetState(int state) = 0;
};

}  // namespace qv
