// What a widget asks of the one that holds it: the engine, the screen, the
// coordinate mapping, widget creation, lookup and dirty rectangles. Groups,
// decorators, screens and the game own widgets.
#pragma once

#include <string>

#include "core/Ref.h"
#include "graphics/Rect.h"
#include "storage/ParamCollection.h"

namespace qv {

class IWidget;
class IWindow;
class IEventHandler;

class IWidgetOwner : public virtual IInterface {
protected:
  ~IWidgetOwner() override = default;

public:
  virtual const std::string& GetName() const = 0;
  // The engine object; widgets take the service they need from it with
  // QueryPtr<IService>. Null when the chain does not reach an engine.
  virtual IInterface* GetEngine() = 0;
  virtual IWindow* GetWindow() = 0;
  virtual IEventHandler* GetEventHandler() = 0;
  // A screen point in the owner's coordinate space, where its children's
  // anchors live (a widget's own ScreenToLocal asks this of its owner).
  virtual TPoint ScreenToChildLocal(TPoint point) = 0;
  // A new, detached widget from the factory of that name; empty when none.
  virtual Ref<IWidget> CreateWidget(const std::string& factoryName, IParamCollection* params) = 0;
  virtual Ref<IWidget> FindWidget(const std::string& path) = 0;
  virtual std::string GetFullPath() = 0;
  // The rectangle in screen coordinates.
  virtual void AddDirtyRect(const TRect& rect) = 0;
};

}  // namespace qv
