// One action of a state machine: in its state, with its weight, it shows the
// child it names for its duration and then moves to its next state.
#pragma once

#include <string>

#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class IActionDef : public virtual IInterface {
protected:
  ~IActionDef() override = default;

public:
  virtual int GetState() const = 0;
  virtual int GetProbability() const = 0;
  virtual int GetDuration() const = 0;
  virtual int GetNextState() const = 0;
  virtual const std::string& GetWidgetName() const = 0;
};

class TActionDef : public TPropertyObject, public IActionDef {
public:
  TActionDef() { SetStorageName("actiondef"); }
  // "state", "probability", "duration", "nextstate", "widgetname", all
  // always written.
  QV_PROPERTY_TABLE(TActionDef)

  int GetState() const override { return state_; }
  int GetProbability() const override { return probability_; }
  int GetDuration() const override { return duration_; }
  int GetNextState() const override { return nextState_; }
  const std::string& GetWidgetName() const override { return widgetName_; }

protected:
  ~TActionDef() override = default;

private:
  int state_ = 0;
  int probability_ = 0;
  int duration_ = 0;
  int nextState_ = 0;
  std::string widgetName_;
};

class IActionDefCollection : public virtual IInterface {
protected:
  ~IActionDefCollection() override = default;

public:
  virtual int GetActionCount() const = 0;
  virtual Ref<IActionDef> GetAction(int index) const = 0;
};

// Node "actiondefs", items "actiondef", every one kept in order.
class TActionDefCollection : public TStaticCreationPersistItemCollection<TActionDef>,
                             public IActionDefCollection {
public:
  TActionDefCollection() {
    SetStorageName("actiondefs");
    SetItemElementName("actiondef");
  }
  void AddItem(const Ref<IInterface>& item) override { AddKeepingAll(item); }
  int GetActionCount() const override { return Count(); }
  Ref<IActionDef> GetAction(int index) const override { return ItemAs<IActionDef>(index); }

protected:
  ~TActionDefCollection() override = default;
};

}  // namespace qv
