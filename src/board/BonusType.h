// A kind of bonus the game data can describe: its number, a weight chosen
// by the context ("weight" among its context parameters, 0 when missing)
// and its own widget factories, of which "widget_bonus" shows it. The
// board's rules do not consult bonuses.
#pragma once

#include <string>

#include "storage/ContextParamCollection.h"
#include "storage/PersistObject.h"
#include "widgets/IWidget.h"
#include "widgets/WidgetFactoryCollection.h"

namespace qv {

class TBonusType : public TPersistObject {
public:
  TBonusType();

  // "bonustype" (default 0); the children "context_params" and
  // "widgetfactories".
  QV_PROPERTY_TABLE(TBonusType)
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  int GetBonusType() const { return bonusType_; }
  // The context's "weight", 0 when it has none or it is not a number.
  int Weight() const;
  TContextParamCollection& ContextParams() { return *context_; }
  TWidgetFactoryCollection& WidgetFactories() { return *factories_; }
  // A new "widget_bonus" from the type's factories; empty (and reported)
  // without one.
  Ref<IWidget> CreateBonusWidget(const IParamCollection* params);

protected:
  ~TBonusType() override = default;

private:
  int bonusType_ = 0;
  Ref<TContextParamCollection> context_ = MakeRef<TContextParamCollection>();
  Ref<TWidgetFactoryCollection> factories_ = MakeRef<TWidgetFactoryCollection>();
};

}  // namespace qv
