// The top of a widget owner chain where no game runs (the data tool's
// render, benchmarks): identity coordinates, dirty rectangles to the
// engine's update region, no window, no factories.
#pragma once

#include <string>

#include "app/Engine.h"
#include "storage/PersistObject.h"
#include "widgets/IWidgetOwner.h"

namespace qv {

class TTopWidgetOwner : public TAbstractObject, public IWidgetOwner {
public:
  explicit TTopWidgetOwner(TEngine& engine) : engine_(engine), object_(&static_cast<IEngine&>(engine)) {}

  const std::string& GetName() const override { return name_; }
  IInterface* GetEngine() override { return object_; }
  IWindow* GetWindow() override { return nullptr; }
  IEventHandler* GetEventHandler() override { return nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string&) override { return nullptr; }
  std::string GetFullPath() override { return {}; }
  void AddDirtyRect(const TRect& rect) override { engine_.AddUpdateRect(rect); }

protected:
  ~TTopWidgetOwner() override = default;

private:
  TEngine& engine_;
  IInterface* object_;
  std::string name_;
};

}  // namespace qv
