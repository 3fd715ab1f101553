// What the board asks of the screen that holds it: its notifications (the
// level finished, the game lost, a tutorial step done, a hint confirmed),
// by the message codes below.
#pragma once

#include "core/Ref.h"
#include "storage/ParamCollection.h"

namespace qv {

inline constexpr int kBoardLevelFinished = 32773;
inline constexpr int kBoardGameLost = 32776;
inline constexpr int kBoardTutorialStep = 32779;
inline constexpr int kBoardHintConfirmed = 32787;

class IGameBoardHost : public virtual IInterface {
protected:
  ~IGameBoardHost() override = default;

public:
  virtual void BoardNotification(int code, IParamCollection* params) = 0;
};

}  // namespace qv
