// The base of the widgets that show a resource of the engine by name: the
// resource is looked up on every use, so a swapped resource (another load
// mode, another language) shows at once.
#pragma once

#include <string>

#include "services/IResourceLookup.h"
#include "widgets/VisualWidget.h"

namespace qv {

class TResourceWidget : public TSingleWidget {
public:
  // "resourcename", always written.
  QV_PROPERTY_TABLE(TResourceWidget)

  const std::string& GetResourceName() const { return resourceName_; }
  virtual void SetResourceName(const std::string& name);

protected:
  ~TResourceWidget() override = default;

  // The named resource as an image (fonts are images too); empty without an
  // engine, a name or a resource of that kind. A missing resource or one of
  // another kind is reported once per name.
  Ref<IImageResource> FindImageResource();
  Ref<IFontResource> FindFontResource();

  std::string resourceName_;

private:
  template <class I>
  Ref<I> FindNamed(const char* kind);
  std::string reportedName_;
};

}  // namespace qv
