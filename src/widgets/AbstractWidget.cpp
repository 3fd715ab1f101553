#include "widgets/AbstractWidget.h"

#include <cfenv>
#include <cmath>
#include <stdexcept>

#include "core/Diagnostics.h"
#include "core/Parsing.h"
#include "services/ISoundPlayer.h"
#include "services/ISurfaceFactory.h"
#include "storage/ClassRegistry.h"
#include "storage/Params.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TAbstractWidget>& TAbstractWidget::Properties() {
  using W = TAbstractWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TPropertyObject::Properties())
          .Bool("dead", &W::IsDead, &W::SetDead)
          .PropertyOnly()
          .Bool("paused", &W::paused_)
          .WhenTrue()
          .Int("transparentlevel", &W::GetTransparentLevel, &W::SetTransparentLevel, 255)
          // The stored value is kept as loaded and saved back as is; the
          // property is the running time.
          .Int(
              "currenttime", [](const W& w) { return w.storedTime_; },
              [](W& w, int v) {
                w.storedTime_ = v;
                w.currentTime_ = v;
              })
          .StorageOnly()
          .Int("timetolive", &W::timeToLive_)
          .Float("time_rate", &W::timeRate_, 1.0)
          .String("aliases", &W::aliases_)
          .StorageOnly()
          .String("redefinedparams", &W::redefinedParams_)
          .StorageOnly()
          // What visual widgets store; here property access only.
          .Bool("visible", &W::IsVisible, &W::SetVisible)
          .PropertyOnly()
          .Bool("enabled", &W::IsEnabled, &W::SetEnabled)
          .PropertyOnly()
          .Bool("tabstop", &W::IsTabStop, &W::SetTabStop)
          .PropertyOnly()
          .Bool("mousestop", &W::IsMouseStop, &W::SetMouseStop)
          .PropertyOnly()
          .Int("z", &W::GetZ, &W::SetZ)
          .PropertyOnly()
          .Float("anchor_left", &W::GetAnchorLeft, &W::SetAnchorLeft)
          .PropertyOnly()
          .Float("anchor_top", &W::GetAnchorTop, &W::SetAnchorTop)
          .PropertyOnly()
          .Float("left", &W::GetLeft, nullptr)
          .PropertyOnly()
          .Float("top", &W::GetTop, nullptr)
          .PropertyOnly()
          .Int("width", &W::GetWidth, nullptr)
          .PropertyOnly()
          .Int("height", &W::GetHeight, nullptr)
          .PropertyOnly();
  return table;
}

void TAbstractWidget::LoadFromStorage(const StorageRef& storage) {
  TPropertyObject::LoadFromStorage(storage);
  if (!storage) return;
  if (auto node = storage->GetChild("sounds", 0)) {
    sounds_ = MakeRef<TSoundCollection>();
    sounds_->Initialize();
    sounds_->Load(node);
  }
  if (auto node = storage->GetChild("function_widget", 0)) {
    const Ref<TAbstractObject> object = CreateFromNode(node);
    function_ = Query<IFunction>(object);
    if (object && !function_) ReportDataError("widget " + GetName(), "its function_widget is not a function");
  }
  const std::string extra = ReadString(storage, "extraparams", "");
  for (const TParamPair& pair : ParseParams(extra)) SetExtraParam(pair.name, TVariant(pair.value));
}

void TAbstractWidget::SaveToStorage(const StorageRef& storage) {
  TPropertyObject::SaveToStorage(storage);
  if (!storage) return;
  if (extraParams_ && extraParams_->GetParamCount() > 0) {
    std::string text;
    for (int i = 0; i < extraParams_->GetParamCount(); ++i) {
      const Ref<IParam> p = extraParams_->GetParamAt(i);
      if (!text.empty()) text += '\\';
      text += p->GetName() + "={" + VarToString(p->GetValue()) + "}";
    }
    WriteString(storage, "extraparams", text);
  }
  if (sounds_ && sounds_->Count() > 0) sounds_->Save(storage->AddChild("sounds"));
  if (auto* persistent = dynamic_cast<IPersistent*>(function_.get()))
    persistent->Save(storage->AddChild("function_widget"));
}

// --- property access ------------------------------------------------------------

bool TAbstractWidget::GetSpecialProperty(const std::string& name, TVariant& value) {
  if (SameText(name, "name")) {
    value = GetName();
    return true;
  }
  if (SameText(name, "currenttime")) {
    value = static_cast<long long>(currentTime_);
    return true;
  }
  return false;
}

bool TAbstractWidget::SetSpecialProperty(const std::string& name, const TVariant& value) {
  if (SameText(name, "name")) {
    SetName(VarToString(value));
    return true;
  }
  if (SameText(name, "currenttime")) {
    SetCurrentTime(static_cast<int>(VarToInt(value, currentTime_)));
    return true;
  }
  return false;
}

namespace {

// The alias of `name`, when the list holds the exact text "\name=".
std::optional<std::string> AliasOf(const std::string& aliases, const std::string& name) {
  if (aliases.empty() || aliases.find("\\" + name + "=") == std::string::npos) return std::nullopt;
  std::optional<std::string> target = FindParam(aliases, name);
  if (!target || *target == name) return std::nullopt;
  return target;
}

}  // namespace

TVariant TAbstractWidget::GetPropertyValue(const std::string& name) {
  if (const size_t slash = name.find('/'); slash != std::string::npos) {
    const std::string segment = slash == 0 ? std::string("/") : name.substr(0, slash);
    const Ref<IWidget> target = FindWidget(segment);
    return target ? target->GetPropertyValue(name.substr(slash + 1)) : TVariant{};
  }
  TVariant value;
  if (GetSpecialProperty(name, value)) return value;
  if (GetPropertyTable().GetObjectProperty(*this, name, value)) return value;
  if (const auto alias = AliasOf(aliases_, name)) return GetPropertyValue(*alias);
  if (extraParams_)
    if (const Ref<IParam> p = extraParams_->GetParam(name)) return p->GetValue();
  return {};
}

bool TAbstractWidget::SetPropertyValue(const std::string& name, const TVariant& value) {
  if (const size_t slash = name.find('/'); slash != std::string::npos) {
    const std::string segment = slash == 0 ? std::string("/") : name.substr(0, slash);
    const Ref<IWidget> target = FindWidget(segment);
    return target && target->SetPropertyValue(name.substr(slash + 1), value);
  }
  if (SetSpecialProperty(name, value)) return true;
  if (GetPropertyTable().SetObjectProperty(*this, name, value)) return true;
  if (GetPropertyTable().FindProperty(name)) return false;  // a built-in that is not writable
  if (const auto alias = AliasOf(aliases_, name)) return SetPropertyValue(*alias, value);
  if (extraParams_ && extraParams_->GetParam(name)) {
    extraParams_->SetParamValue(name, value);
    return true;
  }
  return false;
}

void TAbstractWidget::SetExtraParam(const std::string& name, const TVariant& value) {
  if (!extraParams_) {
    extraParams_ = MakeRef<TParamCollection>();
    extraParams_->Initialize();
  }
  extraParams_->SetParamValue(name, value);
}

Ref<IInterface> TAbstractWidget::GetObjectProperty(const std::string& name) {
  if (SameText(name, "owner")) return Ref<IInterface>(dynamic_cast<IInterface*>(owner_));
  if (SameText(name, "image")) return GetImage();
  return nullptr;
}

bool TAbstractWidget::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  (void)name;
  (void)value;
  return false;
}

void TAbstractWidget::SetCurrentTime(int value) {
  if (value != currentTime_) needRepaint_ = true;
  currentTime_ = value;
}

void TAbstractWidget::SetTransparentLevel(int level) {
  level = std::clamp(level, 0, 255);
  if (level != transparentLevel_) needRepaint_ = true;
  transparentLevel_ = level;
}

// --- owner chain ------------------------------------------------------------------

void TAbstractWidget::SetOwner(IWidgetOwner* owner) {
  owner_ = owner;
  if (!owner) return;  // leaving a chain: nothing to read from
  ApplyRedefinedParams();
  if (function_) {
    function_->Bind(this);
    ExchangeWithFunction(true);
  }
}

void TAbstractWidget::Detach() {
  if (function_) function_->Unbind();
  owner_ = nullptr;
}

void TAbstractWidget::ExchangeWithFunction(bool reset) {
  IFunction& f = *function_;
  try {
    for (int row = 0; row <= 1; ++row) {
      const int count = row == 0 ? f.GetOutputCount() : f.GetInputCount();
      for (int col = 0; col < count; ++col) {
        const std::string name = f.GetDefName(row, col);
        if (name.empty()) continue;
        const TVariant value = GetPropertyValue(name);
        if (VarIsEmpty(value)) continue;
        const float current = f.GetCell(col, row);
        const auto number = static_cast<float>(VarToFloat(value, current));
        if (row == 0)
          f.SetOutput(col, number);
        else
          f.SetInput(col, number);
      }
    }
    if (reset)
      f.Prepare();
    else
      f.Calculate();
    for (int col = 0; col < f.GetOutputCount(); ++col) {
      const std::string name = f.GetDefName(0, col);
      if (!name.empty()) SetPropertyValue(name, TVariant(static_cast<double>(f.GetOutput(col))));
    }
  } catch (const std::runtime_error& e) {
    ReportDataError("widget " + GetFullPath() + " function", e.what());
  }
}

void TAbstractWidget::ApplyRedefinedParams() {
  if (redefinedParams_.empty()) return;
  for (const TParamPair& pair : ParseParams(redefinedParams_)) {
    const std::string where = "widget " + GetName() + " redefinedparams";
    try {
      const TVariant value = GetPropertyValue(pair.value);
      if (VarIsEmpty(value)) {
        ReportDataError(where, "\"" + pair.value + "\" names no property; \"" + pair.name + "\" is left");
        continue;
      }
      if (!SetPropertyValue(pair.name, value))
        ReportDataError(where, "\"" + pair.name + "\" is not a writable property");
    } catch (const std::runtime_error& e) {
      ReportDataError(where, pair.name + "=" + pair.value + ": " + e.what());
    }
  }
}

Ref<IWidget> TAbstractWidget::FindWidget(const std::string& path) {
  if (path.empty()) return Ref<IWidget>(this);
  const size_t slash = path.find('/');
  const std::string segment = path.substr(0, slash);
  const std::string rest = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  if (segment.empty() || segment == ".") return FindWidget(rest);
  if (segment == "..") return owner_ ? owner_->FindWidget(rest) : nullptr;
  if (segment == "window:") {
    IWindow* window = owner_ ? owner_->GetWindow() : nullptr;
    return window ? window->FindWidget(rest) : nullptr;
  }
  const Ref<IWidget> child = GetChild(segment);
  if (!child || rest.empty()) return child;
  return child->FindWidget(rest);
}

std::string TAbstractWidget::GetFullPath() {
  return owner_ ? owner_->GetFullPath() + "/" + GetName() : GetName();
}

// --- time ---------------------------------------------------------------------------

void TAbstractWidget::Advance(int dt) {
  if (timeRate_ != 1.0) dt = RoundEven(timeRate_ * dt);
  AdvanceTime(dt);
}

void TAbstractWidget::AdvanceTime(int dt) {
  advancedThisFrame_ = true;
  currentTime_ += dt;
  if (timeToLive_ > 0 && currentTime_ >= timeToLive_) SetDead(true);
  if (function_) ExchangeWithFunction(false);
}

void TAbstractWidget::Restart() {
  currentTime_ = 0;
  paused_ = false;
  if (function_) ExchangeWithFunction(true);
  AdvanceTime(0);
}

// --- geometry and frames -----------------------------------------------------------

TRect TAbstractWidget::GetRect() const {
  const double left = GetLeft();
  const double top = GetTop();
  return {RoundEven(left), RoundEven(top), RoundEven(left + GetWidth()), RoundEven(top + GetHeight())};
}

Ref<IWidget> TAbstractWidget::WidgetAtPos(TPoint point) {
  if (IsVisible() && IsMouseStop() && ContainsPoint(point, false)) return Ref<IWidget>(this);
  return nullptr;
}

bool TAbstractWidget::ContainsPoint(TPoint point, bool ignoreVisibility) {
  if (!ignoreVisibility && !IsVisible()) return false;
  const TRect r = GetRect();
  return point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom;
}

bool TAbstractWidget::UpdateDirtyRegion(bool forceOld, bool forceNew) {
  (void)forceOld;
  (void)forceNew;
  advancedThisFrame_ = false;
  contributedDirtyRect_ = false;
  firstFrame_ = false;
  needRepaint_ = false;
  return false;
}

Ref<ISurface> TAbstractWidget::NewSurface() const {
  auto* factory = GetService<ISurfaceFactory>();
  return factory ? factory->CreateSurface() : nullptr;
}

// --- sounds ---------------------------------------------------------------------------

uint32_t TAbstractWidget::PlaySound(const std::string& name, bool replace, int volume, int pan) {
  if (!sounds_ || !owner_) return 0;
  const Ref<ISound> sound = sounds_->FindSound(name);
  if (!sound) {
    ReportDataError("widget " + GetFullPath(), "no sound named \"" + name + "\"");
    return 0;
  }
  auto* player = GetService<ISoundPlayer>();
  if (!player) return 0;
  if (!replace) return player->PlaySound(sound.get());
  const int oldVolume = sound->GetVolume();
  const int oldPan = sound->GetPan();
  sound->SetVolume(volume);
  sound->SetPan(pan);
  const uint32_t channel = player->PlaySound(sound.get());
  sound->SetVolume(oldVolume);
  sound->SetPan(oldPan);
  return channel;
}

void TAbstractWidget::StopSound(const std::string& name) {
  if (!sounds_) return;
  const Ref<ISound> sound = sounds_->FindSound(name);
  auto* player = GetService<ISoundPlayer>();
  if (sound && player) player->StopSound(sound.get());
}

}  // namespace qv
