#include "board/ScenarioFlyArtifact.h"

#include <algorithm>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/StringUtils.h"

namespace qv {

TFlightPoint ArtifactFlightAt(TFlightPoint from, TFlightPoint to, double f) {
  f = std::clamp(f, 0.0, 1.0);
  const TFlightPoint control{(from.x + to.x) / 2, std::min(from.y, to.y) - kArtifactFlightRise};
  const double a = (1 - f) * (1 - f), b = 2 * (1 - f) * f, c = f * f;
  return {a * from.x + b * control.x + c * to.x, a * from.y + b * control.y + c * to.y};
}

std::string WithoutScenarioName(const std::string& list, const std::string& name) {
  std::string out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t semi = list.find(';', start);
    if (semi == std::string::npos) semi = list.size();
    const std::string item = Trim(list.substr(start, semi - start));
    if (!item.empty() && !SameText(item, name)) out += ";" + item;
    start = semi + 1;
  }
  return out;
}

const TPropertyTable<TScenarioFlyArtifact>& TScenarioFlyArtifact::Properties() {
  using W = TScenarioFlyArtifact;
  static const TPropertyTable<W> table = TPropertyTable<W>(TZintaraScenario::Properties())
                                             .Int("x1", &W::x1_, 0)
                                             .Int("y1", &W::y1_, 0)
                                             .Int("x2", &W::x2_, 560)
                                             .Int("y2", &W::y2_, 40)
                                             .Int("artifact", &W::artifact_, 0)
                                             .Bool("show_trothies_room", &W::showTrophies_, false);
  return table;
}

void TScenarioFlyArtifact::BeginStage(int stage) {
  (void)stage;
  // The picture is the board's artifact flower, as its cell showed it.
  const Ref<TParamCollection> params = MakeScenarioParams(
      {{"Flowercolor", std::to_string(kArtifact)}, {"artifact", std::to_string(artifact_)}});
  picture_ = CreateWidget("Artifact", params.get());
  if (!picture_) return;
  InsertWidget(picture_);
  ShowRunning(picture_.get(), true);
  StageFrame(1, 0);
}

void TScenarioFlyArtifact::StageFrame(int stage, int dt) {
  (void)stage;
  (void)dt;
  if (!picture_) return;
  TGameBoardControl* board = Board();
  const TFlightPoint p = ArtifactFlightAt({static_cast<double>(x1_), static_cast<double>(y1_)},
                                          {static_cast<double>(x2_), static_cast<double>(y2_)},
                                          static_cast<double>(GetCurrentTime()) / kArtifactFlightTime);
  TPoint at{RoundEven(p.x), RoundEven(p.y)};
  if (board) at = BoardToChildSpace(*this, *board, at);
  picture_->SetAnchorLeft(at.x);
  picture_->SetAnchorTop(at.y);
}

bool TScenarioFlyArtifact::StageReady(int stage) const {
  (void)stage;
  return GetCurrentTime() >= kArtifactFlightTime;
}

void TScenarioFlyArtifact::Finished() {
  if (TGameBoardControl* board = Board())
    board->RunningScenarios() = WithoutScenarioName(board->RunningScenarios(), GetName());
}

}  // namespace qv
