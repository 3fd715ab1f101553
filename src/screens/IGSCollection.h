// The game's screens, by index or name.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class IGameScreenSlave;

class IGSCollection : public virtual IInterface {
protected:
  ~IGSCollection() override = default;

public:
  virtual int GetCount() const = 0;
  virtual Ref<IGameScreenSlave> GetItem(int index) = 0;
  // Null when no screen has that name.
  virtual Ref<IGameScreenSlave> GetItem(const std::string& name) = 0;
};

}  // namespace qv
