// The effects of an effect group: a visual group whose children are the
// effects, each named ("show_effect", "hide_effect", ...). It is always
// visible; its effects are hidden and paused except the one running.
#pragma once

#include <string>

#include "widgets/IAppearanceEffects.h"
#include "widgets/VisualGroupWidget.h"

namespace qv {

class TAppearanceEffectCollection : public TVisualGroupWidget, public IAppearanceEffects {
public:
  TAppearanceEffectCollection() { visible_ = true; }

  // "state", a property only (writing 1 ends the current effect).
  QV_PROPERTY_TABLE(TAppearanceEffectCollection)

  // Every effect hidden and paused after loading.
  void LoadFromStorage(const StorageRef& storage) override;
  void SetVisible(bool value) override { (void)value; }

  bool Contains(const std::string& name) const override;
  void StartEffect(const std::string& name, const Ref<ISurface>& picture, IParamCollection* params) override;
  int GetState() const override { return state_; }
  void SetState(int state) override;
  IWidget* GetCurrent() const { return current_.get(); }

  // The effects' step, then the state follows the current effect's.
  void AdvanceTime(int dt) override;

protected:
  ~TAppearanceEffectCollection() override = default;

private:
  int state_ = kEffectIdle;
  Ref<IWidget> current_;
};

}  // namespace qv
