#include "widgets/MoveScenario.h"

namespace qv {

const TPropertyTable<TMoveScenario>& TMoveScenario::Properties() {
  using W = TMoveScenario;
  static const TPropertyTable<W> table = TPropertyTable<W>(TTransparentScenario::Properties())
                                             .Int("startposx", &W::startX_)
                                             .Always()
                                             .Int("startposy", &W::startY_)
                                             .Always()
                                             .Int("endposx", &W::endX_)
                                             .Always()
                                             .Int("endposy", &W::endY_)
                                             .Always();
  return table;
}

void TMoveScenario::Step() {
  TTransparentScenario::Step();
  const double f = static_cast<double>(currentTime_) / timeToLive_;
  target_->SetAnchorLeft((endX_ - startX_) * f + startX_);
  target_->SetAnchorTop((endY_ - startY_) * f + startY_);
}

void TMoveScenario::Finish() {
  if (!target_) return;
  target_->SetAnchorLeft(endX_);
  target_->SetAnchorTop(endY_);
  TTransparentScenario::Finish();
}

}  // namespace qv
