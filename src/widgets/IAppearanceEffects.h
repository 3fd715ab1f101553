// The named effects of an effect group ("show_effect", "hide_effect", ...),
// at most one of them running.
#pragma once

#include <string>

#include "core/Ref.h"
#include "graphics/Surface.h"
#include "storage/ParamCollection.h"
#include "widgets/IAppearanceEffect.h"

namespace qv {

class IAppearanceEffects : public virtual IInterface {
protected:
  ~IAppearanceEffects() override = default;

public:
  virtual bool Contains(const std::string& name) const = 0;
  // Ends the current effect and starts the one of that name with the
  // picture; without one of that name the state is finished.
  virtual void StartEffect(const std::string& name, const Ref<ISurface>& picture,
                           IParamCollection* params) = 0;
  // EEffectState.
  virtual int GetState() const = 0;
  // Finished hides, pauses and forgets the current effect.
  virtual void SetState(int state) = 0;
};

}  // namespace qv
