// One bonus placed by the game data: the number of its type and its
// parameter string.
#pragma once

#include <string>

#include "storage/PersistObject.h"

namespace qv {

class TBonus : public TPersistObject {
public:
  TBonus() { SetStorageName("bonus"); }

  // "bonustype" (default 0), "params" (a parameter string).
  QV_PROPERTY_TABLE(TBonus)

  int GetBonusType() const { return bonusType_; }
  const std::string& GetParams() const { return params_; }

protected:
  ~TBonus() override = default;

private:
  int bonusType_ = 0;
  std::string params_;
};

}  // namespace qv
