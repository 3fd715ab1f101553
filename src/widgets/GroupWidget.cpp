#include "widgets/GroupWidget.h"

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "widgets/DirtyPass.h"

namespace qv {

TGroupWidget::TGroupWidget()
    : widgets_(MakeRef<TWidgetCollection>()), factories_(MakeRef<TWidgetFactoryCollection>()) {
  widgets_->Initialize();
  factories_->Initialize();
}

TGroupWidget::~TGroupWidget() {
  // Children never outlive the group with a pointer back to it.
  widgets_->DetachAll();
}

void TGroupWidget::LoadFromStorage(const StorageRef& storage) {
  TVisualWidget::LoadFromStorage(storage);
  if (!storage) return;
  if (auto node = storage->GetChild("widgets", 0)) widgets_->Load(node);
  if (auto node = storage->GetChild("widgetfactories", 0)) factories_->Load(node);
}

void TGroupWidget::SaveToStorage(const StorageRef& storage) {
  TVisualWidget::SaveToStorage(storage);
  if (!storage) return;
  if (widgets_->Count() > 0)
    if (auto node = storage->AddChild("widgets")) widgets_->Save(node);
  if (factories_->Count() > 0)
    if (auto node = storage->AddChild("widgetfactories")) factories_->Save(node);
}

void TGroupWidget::SetOwner(IWidgetOwner* owner) {
  TVisualWidget::SetOwner(owner);
  widgets_->SetOwner(owner ? this : nullptr);
}

void TGroupWidget::Detach() {
  widgets_->DetachAll();
  TVisualWidget::Detach();
}

void TGroupWidget::AdvanceTime(int dt) {
  TVisualWidget::AdvanceTime(dt);
  AdvanceChildren(dt);
}

void TGroupWidget::AdvanceChildren(int dt) {
  widgets_->AdvanceAll(dt);
  widgets_->RemoveDead();
  widgets_->SortByZ();
}

void TGroupWidget::Restart() {
  for (int i = widgets_->Count() - 1; i >= 0; --i) widgets_->GetWidget(i)->Restart();
  TVisualWidget::Restart();
}

void TGroupWidget::Resume() {
  for (int i = widgets_->Count() - 1; i >= 0; --i) widgets_->GetWidget(i)->Resume();
  TVisualWidget::Resume();
}

void TGroupWidget::Pause() {
  for (int i = widgets_->Count() - 1; i >= 0; --i) widgets_->GetWidget(i)->Pause();
  TVisualWidget::Pause();
}

void TGroupWidget::Invalidate() {
  for (int i = widgets_->Count() - 1; i >= 0; --i) widgets_->GetWidget(i)->Invalidate();
  TVisualWidget::Invalidate();
}

bool TGroupWidget::UpdateDirtyRegion(bool forceOld, bool forceNew) {
  const TDirtyPass pass;
  const bool childForceNew = visible_ && (forceNew || !wasVisible_ || geometryChanged_ || needRepaint_);
  const bool childForceOld = wasVisible_ && (forceOld || !visible_ || geometryChanged_);
  widgets_->UpdateDirtyRegions(childForceOld, childForceNew);
  childrenPass_ = TDirtyPass::Current();
  const bool result = TVisualWidget::UpdateDirtyRegion(forceOld, forceNew);
  if (widgets_->IsChanged()) contributedDirtyRect_ = true;
  return result;
}

bool TGroupWidget::ChildrenSettledInPass() const {
  return childrenPass_ != 0 && childrenPass_ == TDirtyPass::Current();
}

TPoint TGroupWidget::ScreenToChildLocal(TPoint point) {
  const uint64_t pass = TDirtyPass::Current();
  const bool origin = point.x == 0 && point.y == 0;
  if (origin && pass != 0 && pass == originPass_) return origin_;
  const TPoint p = ScreenToLocal(point);
  const TPoint local{p.x - RoundEven(anchorLeft_), p.y - RoundEven(anchorTop_)};
  if (origin && pass != 0) {
    originPass_ = pass;
    origin_ = local;
  }
  return local;
}

namespace {

// One request climbs the chain as nested calls. The groups on the way note
// whether one of them had a factory of the name: one that failed has said
// why, so the top reports only a name nobody knows.
struct TFactoryClimb {
  TFactoryClimb() {
    if (depth++ == 0) known = false;
  }
  ~TFactoryClimb() { --depth; }
  TFactoryClimb(const TFactoryClimb&) = delete;
  TFactoryClimb& operator=(const TFactoryClimb&) = delete;
  static inline int depth = 0;
  static inline bool known = false;
};

}  // namespace

Ref<IWidget> TGroupWidget::CreateWidget(const std::string& factoryName, IParamCollection* params) {
  const TFactoryClimb climb;
  if (const Ref<IWidgetFactory> factory = factories_->GetFactoryByName(factoryName)) {
    TFactoryClimb::known = true;
    if (Ref<IWidget> widget = factory->CreateWidget(params)) return widget;
  }
  Ref<IWidget> widget = owner_ ? owner_->CreateWidget(factoryName, params) : nullptr;
  // The topmost group of a chain (its owner is a screen, the game or
  // nothing) is where a name no group knows ends.
  if (!widget && !TFactoryClimb::known && !dynamic_cast<IWidget*>(owner_))
    ReportDataError("widget " + GetFullPath(), "no widget factory named \"" + factoryName + "\"");
  return widget;
}

}  // namespace qv
