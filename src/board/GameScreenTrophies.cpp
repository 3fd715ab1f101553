#include "board/GameScreenTrophies.h"

#include <cmath>

#include "core/Messages.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

namespace {

constexpr char kSlot[] = "artifact";
constexpr char kDescription[] = "ArtifactDescription";
constexpr char kTrail[] = "stsystem";
constexpr char kLiftPose[] = "quib_new_artifact_up";
constexpr char kCarryPose[] = "quib_new_artifact_down";

// The number of a slot's name ("artifact12" is 12); 0 for other names.
int SlotNumber(const std::string& name) {
  if (name.size() <= sizeof(kSlot) - 1 || LowerCase(name).rfind(kSlot, 0) != 0) return 0;
  long long n = 0;
  if (!TryParseInt(name.substr(sizeof(kSlot) - 1), n) || n <= 0 || n > 1000000) return 0;
  return static_cast<int>(n);
}

TPoint Place(const IWidget& widget) {
  return {static_cast<int>(std::lround(widget.GetAnchorLeft())),
          static_cast<int>(std::lround(widget.GetAnchorTop()))};
}

}  // namespace

bool OwnsArtifact(const IParamCollection& profile, const std::string& mode, int n) {
  if (n <= 0) return false;
  if (mode == "classic" || mode == "relax")
    return VarToInt(profile.GetParamValueDef(mode + "artifact", 0LL), 0) >= n;
  if (mode == "duel_computer")
    return SameText(
        VarToString(profile.GetParamValueDef("duel_computerartifact" + std::to_string(n), TVariant())),
        "yes");
  return false;
}

bool TZintaraTrophiesGameScreen::Owns(int n) const {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
  return profile && OwnsArtifact(profile->GetParams(), mode_, n);
}

void TZintaraTrophiesGameScreen::BeforeShow(IParamCollection* params) {
  mode_.clear();
  newArtifact_ = 0;
  phase_ = kNone;
  clock_ = 0;
  closeAtOnce_ = !ParamText(params, "PlayMode", mode_);
  std::string text;
  long long artifact = 0;
  if (ParamText(params, "artifact", text) && TryParseInt(Trim(text), artifact) && artifact > 0 &&
      artifact <= kTrophyCount)
    newArtifact_ = static_cast<int>(artifact);
  if (const Ref<IWidget> description = FindWidget(kDescription)) description->Show(false);
  if (const Ref<IWidget> trail = FindWidget(kTrail)) trail->Show(false);
  RemoveFlying();
  MarkOwned();
  if (closeAtOnce_ || newArtifact_ == 0) return;
  const Ref<TParamCollection> made = MakeParams({{"artifact", std::to_string(newArtifact_)}});
  flying_ = Root().CreateWidget("Artifact", made.get());
  const Ref<IWidget> slot = FindWidget(kSlot + std::to_string(newArtifact_));
  if (!flying_ || !slot) {
    flying_ = nullptr;
    newArtifact_ = 0;
    MarkOwned();
    return;
  }
  flying_->SetName("flying_artifact");
  flying_->SetVisible(false);
  if (IWidgetCollection* children = Root().GetChildren()) children->InsertWidget(flying_);
  flyingArtifact_ = newArtifact_;
  from_ = Place(*flying_);
  to_ = Place(*slot);
  BeginPhase(kLift);
}

void TZintaraTrophiesGameScreen::MarkOwned() {
  for (int n = 1; n <= kTrophyCount; ++n)
    if (const Ref<IWidget> slot = FindWidget(kSlot + std::to_string(n)))
      slot->Show(Owns(n) && n != newArtifact_);
}

void TZintaraTrophiesGameScreen::RemoveFlying() {
  if (!flying_) return;
  flying_->SetVisible(false);
  flying_->SetDead(true);
  if (IWidgetCollection* children = Root().GetChildren()) children->RemoveDead();
  flying_ = nullptr;
}

void TZintaraTrophiesGameScreen::ShowRunning(const std::string& name, bool visible, bool restart) {
  const Ref<IWidget> widget = FindWidget(name);
  if (!widget) return;
  widget->Show(visible);
  if (restart) widget->Restart();
}

void TZintaraTrophiesGameScreen::BeginPhase(int phase) {
  phase_ = phase;
  switch (phase) {
    case kLift: {
      ShowRunning(kLiftPose, true, true);
      const Ref<IWidget> lift = FindWidget(kLiftPose);
      phaseTime_ = lift ? static_cast<int>(VarToInt(lift->GetPropertyValue("animationtime"), 1)) : 1;
      break;
    }
    case kFlight: {
      PlayScreenSound("sound_artifact_fly2");
      ShowRunning(kLiftPose, false, false);
      ShowRunning(kCarryPose, true, true);
      if (flying_) flying_->SetVisible(true);
      const double dx = static_cast<double>(to_.x) - from_.x;
      const double dy = static_cast<double>(to_.y) - from_.y;
      phaseTime_ = static_cast<int>(std::lround(std::sqrt(dx * dx + dy * dy) * kTrophyMsPerPixel));
      if (const Ref<IWidget> trail = FindWidget(kTrail)) {
        trail->Show(true);
        trail->SetPropertyValue("emission_count", 150LL);
      }
      FlightFrame();
      break;
    }
    case kLanding: {
      PlayScreenSound("sound_artifact");
      if (flying_) flying_->SetVisible(false);
      if (const Ref<IWidget> trail = FindWidget(kTrail)) trail->SetPropertyValue("emission_count", 0LL);
      ShowDescription(flyingArtifact_);
      if (TTrace::On())
        TTrace::Emit("trophy",
                     {{"mode", TTrace::Text(mode_)}, {"artifact", TTrace::Number(flyingArtifact_)}});
      newArtifact_ = 0;
      MarkOwned();
      phaseTime_ = kTrophyLandingTime;
      break;
    }
    default:
      ShowRunning(kCarryPose, false, false);
      RemoveFlying();
      phase_ = kNone;
      phaseTime_ = 0;
      break;
  }
}

void TZintaraTrophiesGameScreen::FlightFrame() {
  if (!flying_) return;
  const double f = phaseTime_ > 0 ? std::min(1.0, static_cast<double>(clock_) / phaseTime_) : 1.0;
  const int x = static_cast<int>(std::lround(from_.x + (to_.x - from_.x) * f));
  const int y = static_cast<int>(std::lround(from_.y + (to_.y - from_.y) * f));
  flying_->SetAnchorLeft(x);
  flying_->SetAnchorTop(y);
  if (const Ref<IWidget> trail = FindWidget(kTrail)) {
    const TRect rect = flying_->GetRect();
    trail->SetPropertyValue("emission_x", static_cast<long long>((rect.left + rect.right) / 2));
    trail->SetPropertyValue("emission_y", static_cast<long long>((rect.top + rect.bottom) / 2));
  }
}

void TZintaraTrophiesGameScreen::Update(int dt) {
  TGameScreen::Update(dt);
  if (!IsActive()) return;
  if (closeAtOnce_) {
    closeAtOnce_ = false;
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
    return;
  }
  if (phase_ == kNone) return;
  // The time beyond a phase's end goes on into the next one.
  clock_ += dt;
  while (phase_ != kNone && clock_ >= phaseTime_) {
    clock_ -= phaseTime_;
    BeginPhase(phase_ == kLanding ? kNone : phase_ + 1);
  }
  if (phase_ == kFlight) FlightFrame();
}

void TZintaraTrophiesGameScreen::ShowDescription(int n) {
  const Ref<IWidget> description = FindWidget(kDescription);
  if (!description) return;
  bool found = false;
  for (int k = 1; k <= kTrophyCount; ++k)
    if (const Ref<IWidget> child = description->GetChild(kSlot + std::to_string(k))) {
      child->Show(k == n);
      found = found || k == n;
    }
  description->Show(found);
}

bool TZintaraTrophiesGameScreen::MouseEvent(unsigned message, TPoint point, unsigned flags) {
  // The slots are pictures, not controls: a press on one (or on a part of
  // it) shows its description.
  if (message == WM_LBUTTONDOWN && IsActive() && !IsHiding())
    for (Ref<IWidget> widget = WidgetAtPos(point); widget;
         widget = Query<IWidget>(widget->GetObjectProperty("owner")))
      if (const int n = SlotNumber(widget->GetName())) {
        ShowDescription(n);
        break;
      }
  return TGameScreen::MouseEvent(message, point, flags);
}

void TZintaraTrophiesGameScreen::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender || code != ccClick) return;
  const std::string& name = sender->GetName();
  if (name == "button_ok") {
    if (const Ref<IWidget> description = FindWidget(kDescription)) description->Show(false);
  } else if (name == "button_close") {
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
  } else if (const int n = SlotNumber(name)) {
    ShowDescription(n);
  }
}

}  // namespace qv
