// One mouse cursor: a widget drawn at the pointer less its hotspot.
#pragma once

#include <string>

#include "core/Ref.h"
#include "graphics/Rect.h"

namespace qv {

class IWidget;

class ICursor : public virtual IInterface {
protected:
  ~ICursor() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual Ref<IWidget> GetWidget() = 0;
  // Assigning a widget hides it.
  virtual void SetWidget(const Ref<IWidget>& widget) = 0;
  virtual TPoint GetHotspot() const = 0;
  virtual void SetHotspot(TPoint hotspot) = 0;
};

}  // namespace qv
