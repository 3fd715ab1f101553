// A widget that owns exactly one child and is its owner.
#pragma once

#include "widgets/IWidgetOwner.h"
#include "widgets/VisualWidget.h"

namespace qv {

class TDecorateWidget : public TVisualWidget, public IWidgetOwner {
public:
  // The child is stored as the node's "widget" child element.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  IWidget* GetWidget() const { return widget_.get(); }
  // The old child is detached; the new one gets this decorator as owner
  // (once the decorator has one).
  void SetWidget(const Ref<IWidget>& widget);

  // IWidget
  const std::string& GetName() const override { return TAbstractWidget::GetName(); }
  // Any key names the child.
  Ref<IWidget> GetChild(const std::string& key) override {
    (void)key;
    return widget_;
  }
  void SetOwner(IWidgetOwner* owner) override;
  void Detach() override;
  Ref<IWidget> FindWidget(const std::string& path) override { return TAbstractWidget::FindWidget(path); }
  std::string GetFullPath() override { return TAbstractWidget::GetFullPath(); }
  // Own step, then the child's Advance unless it is paused.
  void AdvanceTime(int dt) override;
  void Restart() override;
  void Resume() override;
  void Pause() override;
  void Invalidate() override;
  // The child draws at its anchor.
  void Draw(ISurface* target, int x, int y) override;
  // The child first; when it reported something the decorator repaints
  // its own area too.
  bool UpdateDirtyRegion(bool forceOld, bool forceNew) override;
  // The decorator's own test first; on a hit the child may answer instead.
  Ref<IWidget> WidgetAtPos(TPoint point) override;
  Ref<IInterface> GetObjectProperty(const std::string& name) override;
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;

  // IWidgetOwner, for the child: forwarded to the decorator's owner.
  IInterface* GetEngine() override { return GetEngineObject(); }
  IWindow* GetWindow() override { return owner_ ? owner_->GetWindow() : nullptr; }
  IEventHandler* GetEventHandler() override { return owner_ ? owner_->GetEventHandler() : nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override;
  Ref<IWidget> CreateWidget(const std::string& factoryName, IParamCollection* params) override {
    return owner_ ? owner_->CreateWidget(factoryName, params) : nullptr;
  }
  void AddDirtyRect(const TRect& rect) override {
    if (owner_) owner_->AddDirtyRect(rect);
  }

protected:
  ~TDecorateWidget() override;

  Ref<IWidget> widget_;
};

// A decorator whose place and extent follow its child: left and top are its
// anchor plus the child's, width and height the child's.
class TBehaviourWidget : public TDecorateWidget {
public:
  double GetLeft() const override { return anchorLeft_ + (widget_ ? widget_->GetLeft() : 0.0); }
  double GetTop() const override { return anchorTop_ + (widget_ ? widget_->GetTop() : 0.0); }
  int GetWidth() const override { return widget_ ? widget_->GetWidth() : 0; }
  int GetHeight() const override { return widget_ ? widget_->GetHeight() : 0; }

protected:
  ~TBehaviourWidget() override = default;
};

// Draws its child as a grid of cols x rows copies, one child extent apart.
class TReplicatorWidget : public TDecorateWidget {
public:
  // "cols" and "rows", default 1, always written.
  QV_PROPERTY_TABLE(TReplicatorWidget)

  int GetWidth() const override { return widget_ ? widget_->GetWidth() * cols_ : 0; }
  int GetHeight() const override { return widget_ ? widget_->GetHeight() * rows_ : 0; }
  void Draw(ISurface* target, int x, int y) override;

protected:
  ~TReplicatorWidget() override = default;

private:
  int cols_ = 1;
  int rows_ = 1;
};

}  // namespace qv
