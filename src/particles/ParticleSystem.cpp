#include "particles/ParticleSystem.h"

#include "widgets/SurfaceWidget.h"

namespace qv {

void UniteRect(TRect& bounds, bool& any, const TRect& rect) {
  if (rect.IsEmpty()) return;
  bounds = any ? BoundingBox(bounds, rect) : rect;
  any = true;
}

const TPropertyTable<TParticleSystem>& TParticleSystem::Properties() {
  using W = TParticleSystem;
  static const TPropertyTable<W> table = TPropertyTable<W>(TGroupWidget::Properties())
                                             .Int("width", &W::width_)
                                             .Int("height", &W::height_)
                                             .Int("emission_x", &W::emissionX_)
                                             .Int("emission_y", &W::emissionY_)
                                             .Int("emission_radius", &W::emissionRadius_)
                                             .Int("emission_count", &W::emissionCount_)
                                             .Int("delta_step", &W::deltaStep_)
                                             .Int(
                                                 "count", [](const W& w) { return w.Count(); }, nullptr)
                                             .PropertyOnly();
  return table;
}

void TParticleSystem::AdvanceTime(int dt) {
  TGroupWidget::AdvanceTime(dt);
  UpdateSystem(dt);
}

void TParticleSystem::UpdateSystem(int dt) {
  const bool had = Count() > 0;
  UpdateParticles(dt);
  if (deltaStep_ < 1) {
    Emit(dt);
  } else {
    // Emissions happen at whole steps: the clock goes back by dt and
    // forward by one step per emission; the rest waits for the next frame.
    accumulator_ += dt;
    currentTime_ -= dt;
    while (accumulator_ >= deltaStep_) {
      currentTime_ += deltaStep_;
      Emit(deltaStep_);
      accumulator_ -= deltaStep_;
    }
  }
  const int ax = RoundEven(anchorLeft_), ay = RoundEven(anchorTop_);
  const TRect r = ParticleBounds();
  bounds_ = r.IsEmpty() ? TRect{ax, ay, ax, ay} : TRect{r.left + ax, r.top + ay, r.right + ax, r.bottom + ay};
  if (had || Count() > 0) geometryChanged_ = true;
}

void TParticleSystem::ExecuteCommand(int code, IParamCollection* params) {
  if (code == kParticleClear) {
    if (Count() > 0) geometryChanged_ = true;
    ClearParticles();
  } else if (code == kParticleCreate) {
    CreateOnRequest(params);
    geometryChanged_ = true;
  }
}

ISurface* TParticleSystem::FirstChildImage() {
  if (widgets_->Count() == 0) return nullptr;
  const Ref<IWidget> child = widgets_->GetWidget(0);
  if (!child) return nullptr;
  if (auto* surface = dynamic_cast<TSurfaceWidget*>(child.get())) return surface->GetSurface();
  if (!scratch_) {
    scratch_ = NewSurface();
    if (!scratch_) return nullptr;
    scratch_->SetHasAlpha(true);
  }
  const TRect rect = child->GetRect();
  if (scratch_->GetWidth() != rect.Width() || scratch_->GetHeight() != rect.Height())
    scratch_->SetSize(rect.Width(), rect.Height());
  else
    scratch_->Clear();
  child->Draw(scratch_.get(), RoundEven(child->GetAnchorLeft() - rect.left),
              RoundEven(child->GetAnchorTop() - rect.top));
  return scratch_.get();
}

}  // namespace qv
