// A mouse cursor of the game: a widget (created by its "type" from the
// "widget" child) drawn at the pointer less the hotspot.
#pragma once

#include "screens/ICursor.h"
#include "storage/PersistObject.h"
#include "widgets/IWidget.h"

namespace qv {

class TCursor : public TPropertyObject, public ICursor {
public:
  TCursor() { SetStorageName("cursor"); }

  // "hotspotx" and "hotspoty", both written when either is not 0.
  QV_PROPERTY_TABLE(TCursor)

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  const std::string& GetName() const override { return TNamedObject::GetName(); }
  Ref<IWidget> GetWidget() override { return widget_; }
  void SetWidget(const Ref<IWidget>& widget) override;
  TPoint GetHotspot() const override { return hotspot_; }
  void SetHotspot(TPoint hotspot) override { hotspot_ = hotspot; }

protected:
  ~TCursor() override;

private:
  TPoint hotspot_;
  Ref<IWidget> widget_;
};

}  // namespace qv
