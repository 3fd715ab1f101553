// A widget that owns a child collection: it gives its children the owner
// services (forwarded up the chain) and runs their frame passes.
#pragma once

#include "widgets/IWidgetOwner.h"
#include "widgets/VisualWidget.h"
#include "widgets/WidgetCollection.h"
#include "widgets/WidgetFactoryCollection.h"

namespace qv {

class TGroupWidget : public TVisualWidget, public IWidgetOwner {
public:
  TGroupWidget();

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // IWidget
  const std::string& GetName() const override { return TAbstractWidget::GetName(); }
  Ref<IWidget> GetChild(const std::string& key) override { return widgets_->GetWidgetByKey(key); }
  IWidgetCollection* GetChildren() override { return widgets_.get(); }
  // The children get this group as owner once the group has one.
  void SetOwner(IWidgetOwner* owner) override;
  // The children first (first to last), then the group itself.
  void Detach() override;
  Ref<IWidget> FindWidget(const std::string& path) override { return TAbstractWidget::FindWidget(path); }
  std::string GetFullPath() override { return TAbstractWidget::GetFullPath(); }
  void AdvanceTime(int dt) override;
  // Children from the last to the first, then the group.
  void Restart() override;
  void Resume() override;
  void Pause() override;
  void Invalidate() override;
  bool UpdateDirtyRegion(bool forceOld, bool forceNew) override;

  // The collection's time pass, then dead children removed, then z order.
  virtual void AdvanceChildren(int dt);

  // IWidgetOwner: forwarded to the group's own owner.
  IInterface* GetEngine() override { return GetEngineObject(); }
  IWindow* GetWindow() override { return owner_ ? owner_->GetWindow() : nullptr; }
  IEventHandler* GetEventHandler() override { return owner_ ? owner_->GetEventHandler() : nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override;
  // The group's own factory of that name first; when it has none or it
  // made nothing, the owner is asked. The topmost group reports a name that
  // no group on the way knew.
  Ref<IWidget> CreateWidget(const std::string& factoryName, IParamCollection* params) override;
  void AddDirtyRect(const TRect& rect) override {
    if (owner_) owner_->AddDirtyRect(rect);
  }

  TWidgetCollection& Widgets() { return *widgets_; }
  // Loaded from the "widgetfactories" child.
  TWidgetFactoryCollection& WidgetFactories() { return *factories_; }
  // Inserts a child (z order, this group as owner).
  void InsertWidget(const Ref<IWidget>& widget) { widgets_->InsertWidget(widget); }

protected:
  ~TGroupWidget() override;

  // The dirty pass (TDirtyPass) in which the children's pass of this group
  // has finished: from then on their rectangles stay put until it ends.
  bool ChildrenSettledInPass() const;

  Ref<TWidgetCollection> widgets_;
  Ref<TWidgetFactoryCollection> factories_;

private:
  uint64_t childrenPass_ = 0;
  // The children's screen origin, ScreenToChildLocal({0, 0}), which every
  // child asks in its dirty pass; kept for the pass it was computed in.
  uint64_t originPass_ = 0;
  TPoint origin_;
};

}  // namespace qv
