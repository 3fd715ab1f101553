#include "app/Game.h"

#include "app/IEngine.h"

#include <initializer_list>
#include "core/Messages.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "localisation/MultiLanguages.h"
#include "screens/GameScreenOptions.h"
#include "screens/ICursor.h"
#include "screens/ScreenSupport.h"
#include "widgets/AbstractWidget.h"
#include "widgets/IWidget.h"
#include "widgets/WidgetTexts.h"

namespace qv {

namespace {

void TraceScreen(const char* event, const std::string& name, IParamCollection* params) {
  if (!TTrace::On()) return;
  if (params)
    TTrace::Emit(event, {{"screen", TTrace::Text(name)}, {"params", ParamsJson(params)}});
  else
    TTrace::Emit(event, {{"screen", TTrace::Text(name)}});
}

}  // namespace

TGame::TGame()
    : customSettings_(MakeRef<TCustomSettingsCollection>()),
      resourceFiles_(MakeRef<TResourceFileCollection>()),
      screens_(MakeRef<TGSCollection>()),
      cursors_(MakeRef<TCursorCollection>()),
      highScores_(MakeRef<THighScores>()),
      levelRecords_(TLevelRecords::CreateStandard()),
      profiles_(MakeRef<TUserProfileCollection>()) {
  SetStorageName("game");
  for (TAbstractObject* part :
       std::initializer_list<TAbstractObject*>{customSettings_.get(), resourceFiles_.get(), screens_.get(),
                                               cursors_.get(), highScores_.get(), profiles_.get()})
    part->Initialize();
}

TGame::~TGame() {
  // Nothing the game gave a pointer to it may keep it after the game.
  for (auto it = shown_.rbegin(); it != shown_.rend(); ++it) (*it)->Detach();
  for (int i = screens_->GetCount() - 1; i >= 0; --i)
    if (const Ref<IGameScreenSlave> screen = screens_->GetItem(i)) screen->Detach();
}

const TPropertyTable<TGame>& TGame::Properties() {
  using G = TGame;
  static const TPropertyTable<G> table = TPropertyTable<G>(TPersistObject::Properties())
                                             .String("splashlogosgs", &G::splashLogoScreen_)
                                             .String("splashgs", &G::splashScreen_)
                                             .String("closequerygs", &G::closeQueryScreen_)
                                             .String("maings", &G::mainScreen_);
  return table;
}

void TGame::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (!storage) return;
  if (auto node = storage->GetChild("custom_settings", 0)) customSettings_->Load(node);
  if (auto node = storage->GetChild("cursors", 0)) cursors_->Load(node);
  if (auto node = storage->GetChild("resourcefiles", 0)) resourceFiles_->Load(node);
  if (auto node = storage->GetChild("params", 0)) options_.Params().Load(node);
  if (auto node = storage->GetChild("gamescreens", 0)) screens_->Load(node);
}

void TGame::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (!storage) return;
  if (auto node = storage->AddChild("custom_settings")) customSettings_->Save(node);
  if (auto node = storage->AddChild("cursors")) cursors_->Save(node);
  if (auto node = storage->AddChild("resourcefiles")) resourceFiles_->Save(node);
  if (auto node = storage->AddChild("params")) options_.Params().Save(node);
  if (auto node = storage->AddChild("gamescreens")) screens_->Save(node);
}

// --- the stack ----------------------------------------------------------------------

IGameScreenSlave* TGame::ShownScreen(int index) const {
  if (index < 0 || index >= ShownCount()) return nullptr;
  return shown_[static_cast<size_t>(index)].get();
}

bool TGame::IsShown(const std::string& name) const {
  for (const auto& screen : shown_)
    if (screen->GetName() == name) return true;
  return false;
}

IGameScreenSlave* TGame::FindScreen(const std::string& name) const {
  if (!screens_ || name.empty()) return nullptr;
  return screens_->GetItem(name).get();
}

bool TGame::ShowScreen(const std::string& name, IParamCollection* params) {
  if (IsShown(name)) return false;
  IGameScreenSlave* found = FindScreen(name);
  if (!found) return false;
  const Ref<IGameScreenSlave> screen(found);
  if (IGameScreenSlave* top = TopScreen()) top->Deactivate();
  shown_.push_back(screen);
  TraceScreen("show", name, params);
  screen->Show(params);
  if (engine_) engine_->AddUpdateRect(screen->GetRect());
  return true;
}

bool TGame::CloseScreen(IGameScreenSlave* screen, IParamCollection* resultParams) {
  IGameScreenSlave* top = TopScreen();
  if (!top || !screen || top->GetName() != screen->GetName()) return false;
  const Ref<IGameScreenSlave> alive(top);
  TraceScreen("close", top->GetName(), resultParams);
  top->Hide();
  closeParams_ = Ref<IParamCollection>(resultParams);
  RemoveClosedScreens();
  return true;
}

void TGame::RemoveClosedScreens() {
  for (int i = ShownCount() - 1; i >= 0; --i) {
    if (i >= ShownCount()) continue;
    const Ref<IGameScreenSlave> screen = shown_[static_cast<size_t>(i)];
    if (screen->IsVisible()) continue;
    const std::string name = screen->GetName();
    screen->UpdateDirty();  // its area is repainted
    shown_.erase(shown_.begin() + i);
    if (i > 0) {
      IGameScreenSlave* below = shown_[static_cast<size_t>(i - 1)].get();
      below->Activate();
      below->ScreenClosed(name, closeParams_.get());
    }
  }
}

void TGame::SplashFinished() {
  if (!splashScreen_.empty() && IsShown(splashScreen_))
    if (IGameScreenSlave* splash = FindScreen(splashScreen_)) CloseScreen(splash, nullptr);
  if (!mainScreen_.empty()) ShowScreen(mainScreen_, nullptr);
  if (directLevel_ != 0) {
    if (profiles_->GetProfileCount() == 0) {
      profiles_->AddProfile(kDefaultPlayer);
      profiles_->SetCurrentProfile(kDefaultPlayer);
      profiles_->SaveProfiles();
    } else if (!profiles_->GetCurrentProfile()) {
      profiles_->SetCurrentProfile(profiles_->GetProfileAt(0)->GetName());
    }
    const Ref<TParamCollection> params =
        MakeParams({{"PlayMode", directMode_}, {"Level", std::to_string(directLevel_)}});
    ShowScreen(kGameScreen, params.get());
    return;
  }
  // A player without a profile is asked for a name before anything else
  // (the new-user dialog then makes it the current profile).
  if (profiles_->GetProfileCount() == 0 && FindScreen(kNewUserScreen)) {
    const Ref<TParamCollection> necessary = MakeParams({{"Necessary", "1"}});
    ShowScreen(kNewUserScreen, necessary.get());
  }
}

// --- options ------------------------------------------------------------------------

TVariant TGame::GetOptionValue(const std::string& name) {
  return options_.GetOptionValue(name);
}

void TGame::SetOption(const std::string& name, const std::string& value) {
  if (TTrace::On()) TTrace::Emit("option", {{"name", TTrace::Text(name)}, {"value", TTrace::Text(value)}});
  const bool display = options_.SetOption(name, value);
  if (SameText(name, kLanguageOption))
    ApplyLanguage();
  else if (display && engine_)
    engine_->ApplyDisplaySettings();
  ApplyAlternativeResources(name);
}

void TGame::SetOptionNoSave(const std::string& name, const std::string& value) {
  if (TTrace::On()) TTrace::Emit("option", {{"name", TTrace::Text(name)}, {"value", TTrace::Text(value)}});
  options_.SetOptionNoSave(name, value);
  ApplyAlternativeResources(name);
  if (SameText(name, kLanguageOption)) ApplyLanguage();
}

void TGame::ApplyLanguage() {
  const std::string language = VarToString(options_.GetOptionValue(kLanguageOption));
  if (SameText(language, appliedLanguage_)) return;
  appliedLanguage_ = language;
  LoadLanguage(language);
  // Hidden screens too: each shows the language as soon as it comes up.
  int changed = 0;
  for (int i = 0; screens_ && i < screens_->GetCount(); ++i)
    if (const Ref<IGameScreenSlave> screen = screens_->GetItem(i))
      if (const Ref<IWidget> root = screen->GetRootWidget()) changed += ReexpandTexts(*root);
  if (TTrace::On())
    TTrace::Emit("language", {{"name", TTrace::Text(language)},
                              {"id", TTrace::Text(GetLanguageId())},
                              {"texts", std::to_string(changed)}});
}

void TGame::LoadPersistedOptions() {
  options_.LoadPersisted();
}

bool TGame::PushOptionsToEngine() {
  return options_.PushToEngine();
}

// --- start, frames, finish -------------------------------------------------------------

IInterface* TGame::GetEngine() {
  return engine_;
}

void TGame::AddDirtyRect(const TRect& rect) {
  if (engine_) engine_->AddUpdateRect(rect);
}

void TGame::LoadResourceFiles(int loadMode, bool pump) {
  if (!engine_) return;
  loadedModes_.insert(loadMode);
  ApplyAlternativeResources("");
  for (int i = 0; i < resourceFiles_->Count(); ++i) {
    const Ref<TResourceFile> file = resourceFiles_->ItemAs<TResourceFile>(i);
    if (file && file->GetOption().empty() && file->GetLoadMode() == loadMode)
      engine_->LoadResourceList(file->GetFileName(), file->GetName(), pump);
  }
}

bool TGame::IsOptionOn(const std::string& name) {
  TVariant value = engine_ ? engine_->GetOption(name) : TVariant();
  if (VarIsEmpty(value)) value = options_.GetOptionValue(name);  // a game-only option
  return SameText(Trim(VarToString(value)), "yes");
}

void TGame::ApplyAlternativeResources(const std::string& option) {
  if (!engine_) return;
  bool changed = false, refill = false;
  for (int i = 0; i < resourceFiles_->Count(); ++i) {
    const Ref<TResourceFile> file = resourceFiles_->ItemAs<TResourceFile>(i);
    if (!file || file->GetOption().empty() || !loadedModes_.count(file->GetLoadMode())) continue;
    if (!option.empty() && !SameText(file->GetOption(), option)) continue;
    const bool on = IsOptionOn(file->GetOption());
    const bool loaded = alternativesLoaded_.count(file->GetName()) > 0;
    if (on && !loaded) {
      engine_->LoadResourceListOver(file->GetFileName(), file->GetName());
      alternativesLoaded_.insert(file->GetName());
      changed = true;
    } else if (!on && loaded) {
      engine_->UnloadResources(file->GetName());
      alternativesLoaded_.erase(file->GetName());
      changed = refill = true;
    }
  }
  if (refill)
    for (int i = 0; i < resourceFiles_->Count(); ++i) {
      const Ref<TResourceFile> file = resourceFiles_->ItemAs<TResourceFile>(i);
      if (file && file->GetOption().empty() && loadedModes_.count(file->GetLoadMode()))
        engine_->LoadResourceList(file->GetFileName(), file->GetName(), false);
    }
  if (changed) engine_->AddUpdateRect({0, 0, 1 << 16, 1 << 16});  // clamped to the surface
}

void TGame::Start(IEngine* engine) {
  engine_ = engine;
  const std::string dataFolder = !dataFolder_.empty() ? dataFolder_ : engine_ ? engine_->GetDataPath() : "";
  const std::string appFolder = engine_ ? engine_->GetApplicationPath() : "";
  if (!dataFolder.empty()) {
    highScores_->LoadHighScores(dataFolder, appFolder);
    levelRecords_->LoadLevelRecords(dataFolder, appFolder);
    profiles_->LoadProfiles(dataFolder);
    optionsFile_ = std::make_unique<TGlobalOptions>(dataFolder);
  }
  options_.Attach(engine_, optionsFile_.get());
  if (cursors_->GetCount() > 0) {
    for (int i = 0; i < cursors_->GetCount(); ++i)
      if (const Ref<ICursor> cursor = cursors_->GetItem(i))
        if (const Ref<IWidget> widget = cursor->GetWidget()) widget->SetOwner(this);
    cursors_->SetCurrentCursor(cursors_->GetDefaultCursorName());
    if (engine_) engine_->HideSystemCursor();
  }
  LoadPersistedOptions();
  PushOptionsToEngine();
  // The stored language, before the screens lay out their texts.
  ApplyLanguage();
  LoadResourceFiles(TResourceFile::kSynch, false);
  if (screens_)
    for (int i = 0; i < screens_->GetCount(); ++i)
      if (const Ref<IGameScreenSlave> screen = screens_->GetItem(i)) screen->SetOwner(this);
  waitingForSplashLogo_ = directLevel_ == 0 && ShowScreen(splashLogoScreen_, nullptr);
  if (engine_) ExecuteCustomSettings(*customSettings_, *engine_, *this);
}

void TGame::StartWithLevel(int level, const std::string& playMode) {
  directLevel_ = level;
  directMode_ = playMode;
}

void TGame::StartHook() {
  if (directLevel_ != 0) {
    // No splash to keep moving: the lists load without pumping frames.
    LoadResourceFiles(TResourceFile::kAsynch, false);
    SplashFinished();
    loading_ = false;
    return;
  }
  if (!splashScreen_.empty()) ShowScreen(splashScreen_, nullptr);
  LoadResourceFiles(TResourceFile::kAsynch, true);
  if (!splashScreen_.empty() && IsShown(splashScreen_)) {
    if (IGameScreenSlave* splash = FindScreen(splashScreen_)) CloseScreen(splash, nullptr);
    const Ref<TParamCollection> params = MakeRef<TParamCollection>();
    params->Initialize();
    params->SetParamValue("LoadComplete", 1);
    ShowScreen(splashScreen_, params.get());
  } else {
    SplashFinished();
  }
  loading_ = false;
}

void TGame::Advance(int dt) {
  if (IGameScreenSlave* top = TopScreen()) top->Update(dt);
  RemoveClosedScreens();
  if (waitingForSplashLogo_) {
    waitingForSplashLogo_ = IsShown(splashLogoScreen_);
    return;
  }
  if (startHookPending_) {
    startHookPending_ = false;
    StartHook();
  }
  if (!cursors_) return;
  const Ref<ICursor> cursor = cursors_->GetCurrentCursor();
  const Ref<IWidget> widget = cursor ? cursor->GetWidget() : nullptr;
  if (!widget) return;
  const TPoint at = engine_ ? engine_->GetCursorPos() : TPoint{0, 0};
  const TPoint hotspot = cursor->GetHotspot();
  widget->SetAnchorLeft(at.x - hotspot.x);
  widget->SetAnchorTop(at.y - hotspot.y);
  widget->Advance(dt);
}

void TGame::Draw(ISurface* surface) {
  for (int i = 0; i < ShownCount(); ++i) {
    IGameScreenSlave* screen = ShownScreen(i);
    const TRect rect = screen->GetRect();
    bool covered = false;
    for (int j = i + 1; j < ShownCount() && !covered; ++j) {
      const TRect above = ShownScreen(j)->GetRect();
      covered = above.left <= rect.left && above.top <= rect.top && above.right >= rect.right &&
                above.bottom >= rect.bottom;
    }
    if (!covered) screen->Draw(surface);
  }
  if (!cursors_) return;
  const Ref<ICursor> cursor = cursors_->GetCurrentCursor();
  if (const Ref<IWidget> widget = cursor ? cursor->GetWidget() : nullptr)
    widget->Draw(surface, RoundEven(widget->GetLeft()), RoundEven(widget->GetTop()));
}

void TGame::CollectUpdates() {
  for (int i = 0; i < ShownCount(); ++i) ShownScreen(i)->UpdateDirty();
  if (!cursors_) return;
  const Ref<ICursor> cursor = cursors_->GetCurrentCursor();
  if (const Ref<IWidget> widget = cursor ? cursor->GetWidget() : nullptr)
    widget->UpdateDirtyRegion(false, false);
}

bool TGame::MouseEvent(uint32_t message, TPoint point, uintptr_t keyState) {
  IGameScreenSlave* top = TopScreen();
  if (!top) return false;
  const Ref<IGameScreenSlave> alive(top);
  const bool handled = top->MouseEvent(message, point, static_cast<unsigned>(keyState));
  if (handled && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) &&
      cursors_) {
    const Ref<ICursor> cursor = cursors_->GetCurrentCursor();
    if (const Ref<IWidget> widget = cursor ? cursor->GetWidget() : nullptr) widget->Restart();
  }
  return handled;
}

bool TGame::KeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return OnKeyEvent(message, wParam, lParam);
}

bool TGame::OnKeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  bool handled = false;
  if (IGameScreenSlave* top = TopScreen()) {
    const Ref<IGameScreenSlave> alive(top);
    handled = top->KeyEvent(message, static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
  }
  if (message == WM_CHAR && (lParam & KF_ALTDOWN) && engine_) {
    const char* option = nullptr;
    if (wParam == '\r') option = "FullScreenMode";
    if (wParam == 'F' || wParam == 'f') option = "ShowFPS";
    if (wParam == 'R' || wParam == 'r') option = "ShowRects";
    if (option) {
      const bool on = SameText(VarToString(engine_->GetOption(option)), "yes");
      SetOption(option, on ? "no" : "yes");
      handled = true;
    }
  }
  // F10 sizes the window: 1, 2, 3 times the screen, as large as fits, and
  // round again.
  if (!handled && message == WM_KEYDOWN && wParam == kWindowScaleKey && engine_) {
    SetOption("WindowScale", NextWindowScale(VarToString(engine_->GetOption("WindowScale"))));
    handled = true;
  }
  return handled;
}

void TGame::FocusChanged(bool focused) {
  OnFocusChanged(focused);
}

void TGame::OnFocusChanged(bool focused) {
  if (IGameScreenSlave* top = TopScreen()) top->WindowFocusChanged(focused);
}

bool TGame::CloseQuery() {
  return OnCloseQuery();
}

bool TGame::OnCloseQuery() {
  if (loading_) return false;
  if (!closeQueryScreen_.empty() && !IsShown(closeQueryScreen_)) {
    if (!FindScreen(closeQueryScreen_)) return true;
    ShowScreen(closeQueryScreen_, nullptr);
    return false;
  }
  return true;
}

void TGame::Finish() {
  profiles_->SaveProfiles();
  if (cursors_)
    for (int i = 0; i < cursors_->GetCount(); ++i)
      if (const Ref<ICursor> cursor = cursors_->GetItem(i))
        if (const Ref<IWidget> widget = cursor->GetWidget()) widget->Detach();
  while (!shown_.empty()) shown_.pop_back();
  if (screens_)
    for (int i = screens_->GetCount() - 1; i >= 0; --i)
      if (const Ref<IGameScreenSlave> screen = screens_->GetItem(i)) screen->Detach();
  if (engine_)
    for (int i = resourceFiles_->Count() - 1; i >= 0; --i)
      if (const Ref<TResourceFile> file = resourceFiles_->ItemAs<TResourceFile>(i))
        engine_->UnloadResources(file->GetName());
}

Ref<IInterface> TGame::GetContextObject(const std::string& name) {
  const auto it = contextObjects_.find(LowerCase(name));
  return it == contextObjects_.end() ? nullptr : it->second;
}

void TGame::SetContextObject(const std::string& name, const Ref<IInterface>& value) {
  if (value)
    contextObjects_[LowerCase(name)] = value;
  else
    contextObjects_.erase(LowerCase(name));
}

}  // namespace qv
