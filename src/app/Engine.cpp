#include "app/Engine.h"

#include <filesystem>

#include "core/Constants.h"
#include "core/Folders.h"
#include "core/Parsing.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "resources/MusicResource.h"
#include "resources/ResourceCollection.h"
#include "resources/SoundResource.h"
#include "platform/Clock.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {

// The option defaults, set at the start of Init.
const std::pair<const char*, const char*> kOptionDefaults[] = {
    {"ScreenWidth", "640"},
    {"ScreenHeight", "480"},
    {"ScreenBPP", "0"},
    {"FullScreenMode", "no"},
    {"ApplicationCaption", kProductName},
    {"SoundVolume", "70"},
    {"MusicVolume", "30"},
    {"ShowFPS", "no"},
    {"ShowRects", "yes"},
};

TChannelFormat ChannelOf(uint32_t mask) {
  TChannelFormat c;
  c.mask = mask;
  if (mask == 0) return c;
  int low = 0;
  while (!(mask & (1u << low))) ++low;
  int high = 31;
  while (!(mask & (1u << high))) --high;
  c.shift = static_cast<uint8_t>(low);
  c.bits = static_cast<uint8_t>(high - low + 1);
  return c;
}

}  // namespace

TEngine::TEngine() {
  clock_.now = [] { return PlatformTicks(); };
  clock_.sleep = [](uint32_t ms) { PlatformSleep(ms); };
}

TEngine::~TEngine() {
  Done();
  // Resources loaded without a run still hold handles of the audio.
  if (resources_) resources_->RemoveGroup("");
}

void TEngine::Initialize() {
  resources_ = MakeRef<TResourceCollection>();
  resources_->Initialize();
  options_ = MakeRef<TParamCollection>();
  options_->Initialize();
  back_ = MakeRef<TSurface>();
  audio_ = std::make_unique<TEngineAudio>(static_cast<IAudioResources&>(*this));
  systemCursorWanted_ = true;
  cursorOutside_ = false;
  // The display presents 32-bit pixels in the standard layout.
  pixelFormat_ = {ChannelOf(0x00FF0000u), ChannelOf(0x0000FF00u), ChannelOf(0x000000FFu)};
}

uint32_t TEngine::Now() const {
  return clock_.now();
}
void TEngine::Sleep(uint32_t ms) const {
  clock_.sleep(ms);
}

// --- IApplication ---------------------------------------------------------

bool TEngine::Init(const std::string& gameFile) {
  if (!audio_) Initialize();
  initialized_ = true;
  bool result = false;
  try {
    std::error_code ec;
    std::filesystem::current_path(ReplaceAll(ApplicationPath(), "\\", "/"), ec);
    if (run_.seed)
      SetRandomSeed(*run_.seed);
    else
      Randomize();

    for (const auto& [name, value] : kOptionDefaults) options_->SetParamValue(name, std::string(value));
    showFps_ = false;
    showRects_ = true;
    SetFocused(true);

    window_ = TPlatformWindow::Create(kWindowClassName);
    if (window_) {
      desktopDepth_ = window_->DesktopBitsPerPixel();
      caption_ = kWindowClassName;
      const std::string caption = OptionText("ApplicationCaption");
      window_->SetCaption(caption);
      caption_ = caption;
      if (audio_->Init(run_.audioDevice)) {
        audio_->SetMusicVolume(OptionText("MusicVolume"));
        audio_->SetSoundVolume(OptionText("SoundVolume"));
      }
      result = LoadGame(gameFile);
      terminated_ = false;
    }
  } catch (...) {
    result = false;
  }
  if (!result) Done();
  return result;
}

bool TEngine::LoadGame(const std::string& gameFile) {
  try {
    const std::string text = LoadText(gameFile, kGameKey);
    if (text.empty()) return false;
    const StorageRef root = LoadStorageText(text);
    if (!root) return false;
    const std::string name = ReadString(root, "name", "");
    const std::string type = ReadString(root, "type", "");
    Ref<TAbstractObject> object = CreateFromType(type, name);
    Ref<IGame> game = Query<IGame>(object);
    if (!game) return false;
    if (Ref<IPersistent> persistent = Query<IPersistent>(object)) persistent->Load(root);
    game_ = game;
    game_->Start(this);
    return true;
  } catch (...) {
    game_ = nullptr;
    return false;
  }
}

void TEngine::Run() {
  if (!window_) return;
  try {
    active_ = true;
    lastFrameTime_ = Now();
    ApplyDisplaySettings();
    if (run_.beforeFrame) run_.beforeFrame(frames_ + 1);
    while (!terminated_) LoopTurn();
  } catch (...) {
    // Errors escaping the loop end the run silently.
  }
}

void TEngine::Done() {
  if (!initialized_) return;
  initialized_ = false;
  if (window_) window_->ShowCursor(true);
  cursorShown_ = true;
  if (game_) {
    Ref<IGame> game = std::move(game_);
    try {
      game->Finish();
    } catch (...) {
    }
  }
  if (resources_) resources_->RemoveGroup("");
  if (audio_) audio_->Done();
  displayReady_ = false;
  window_.reset();
}

// --- The loop ---------------------------------------------------------------

void TEngine::LoopTurn() {
  if (window_ && window_->PeekMessage()) {
    TMessage message;
    window_->GetMessage(message);
    if (message.message == WM_QUIT)
      terminated_ = true;
    else
      WindowProc(message);
    return;
  }
  if (!active_) {
    if (window_) window_->WaitMessage();
    return;
  }
  const bool fixed = run_.fixedStepMs > 0;
  if (focused_) {
    if (!fixed) {
      const uint32_t elapsed = Now() - lastFrameTime_;
      const uint32_t wait = kFrameDelay - elapsed;  // compared as unsigned: late frames do not sleep
      if (wait <= kFrameDelay) Sleep(wait);
    }
  } else {
    if (!fixed) Sleep(kFrameDelay);
    if (fullScreen_) return;  // no frames while the full-screen window has no focus
  }
  uint32_t dt;
  if (fixed) {
    dt = run_.fixedStepMs;
    lastFrameTime_ += dt;
  } else {
    const uint32_t now = Now();
    dt = now - lastFrameTime_;
    lastFrameTime_ = now;
  }
  audio_->Housekeeping();
  Frame(dt);
}

void TEngine::Frame(uint32_t dt) {
  if (game_ && SurfacesUsable()) {
    game_->Advance(static_cast<int>(dt));
    if (game_) game_->CollectUpdates();
    if (game_ && updatePending_) game_->Draw(back_.get());
    if (const uint32_t* pixels = back_->GetScanLine(0))
      window_->Present(pixels, back_->GetWidth(), back_->GetHeight(), back_->GetWidth() * 4);
    ClearUpdateRects();
  }
  ++frames_;
  if (run_.frameLimit > 0 && frames_ >= run_.frameLimit) {
    if (window_)
      window_->PostQuitMessage(0);
    else
      terminated_ = true;
    return;
  }
  if (run_.beforeFrame) run_.beforeFrame(frames_ + 1);
}

bool TEngine::SurfacesUsable() {
  if (!displayReady_ || !window_) return false;
  bool restored = false;
  if (!window_->SurfacesUsable(restored)) return false;
  if (restored) lastFrameTime_ = Now();  // the outage is not elapsed time
  return true;
}

// --- Window messages ----------------------------------------------------------

intptr_t TEngine::DefaultProc(const TMessage& message) {
  if (hook_) hook_(message);
  return window_ ? window_->DefaultProc(message) : 0;
}

intptr_t TEngine::WindowProc(const TMessage& m) {
  switch (m.message) {
    case WM_DESTROY:
      if (window_)
        window_->PostQuitMessage(0);
      else
        terminated_ = true;
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      SetFocused(m.message == WM_SETFOCUS);
      return DefaultProc(m);
    case WM_CLOSE:
      if (active_ && game_) {
        if (!game_->CloseQuery()) return 0;
        Close();
      }
      return DefaultProc(m);
    case WM_NCHITTEST: {
      const intptr_t result = DefaultProc(m);
      if (!fullScreen_) SetCursorOutside(result != HTCLIENT);
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      if (active_ && game_) return game_->KeyEvent(m.message, m.wParam, m.lParam) ? 0 : 1;
      return DefaultProc(m);
    case WM_SYSCOMMAND:
      if (m.wParam == SC_KEYMENU) {
        if (game_ && game_->KeyEvent(WM_CHAR, static_cast<uintptr_t>(m.lParam), KF_ALTDOWN)) return 0;
      } else if (m.wParam == SC_MINIMIZE) {
        active_ = false;
      } else {
        active_ = focused_ || !fullScreen_;
      }
      return DefaultProc(m);
    default:
      if (IsMouseMessage(m.message) && active_ && game_) {
        const TPoint point{LoWord(m.lParam), HiWord(m.lParam)};
        return game_->MouseEvent(m.message, point, m.wParam) ? 0 : 1;
      }
      return DefaultProc(m);
  }
}

void TEngine::SetFocused(bool focused) {
  focused_ = focused;
  if (focused) {
    active_ = true;
    lastFrameTime_ = Now();
  }
  if (audio_) audio_->FocusChanged(focused);
  if (game_) game_->FocusChanged(focused);
}

// The system cursor's visibility changes only when one of the two flags
// changes while the other is false: to true shows it, to false hides it.
void TEngine::ApplyCursorFlag(bool& flag, bool value, bool other) {
  if (flag == value) return;
  flag = value;
  if (other) return;
  cursorShown_ = value;
  if (window_) window_->ShowCursor(value);
}

void TEngine::SetSystemCursorWanted(bool wanted) {
  ApplyCursorFlag(systemCursorWanted_, wanted, cursorOutside_);
}
void TEngine::SetCursorOutside(bool outside) {
  ApplyCursorFlag(cursorOutside_, outside, systemCursorWanted_);
}

// --- Options and display ------------------------------------------------------

std::string TEngine::OptionText(const std::string& name) {
  const TVariant v = GetOption(name);
  return VarToString(v);
}

void TEngine::SetOption(const std::string& name, const std::string& value) {
  options_->SetParamValue(name, value);
  if (SameText(name, "MusicVolume"))
    audio_->SetMusicVolume(value);
  else if (SameText(name, "SoundVolume"))
    audio_->SetSoundVolume(value);
  else if (SameText(name, "ShowFPS"))
    showFps_ = value == "yes";
  else if (SameText(name, "ShowRects"))
    showRects_ = value == "yes";
}

TVariant TEngine::GetOption(const std::string& name) {
  Ref<IParam> p = options_->GetParam(name);
  return p ? p->GetValue() : TVariant{};
}

int TEngine::FullScreenDepth() const {
  int depth = requestedDepth_ == 0 ? desktopDepth_ : requestedDepth_;
  if (depth <= 14) depth = 16;
  return depth;
}

bool TEngine::ApplyDisplaySettings() {
  const int width = ParseIntDefault(OptionText("ScreenWidth"), 0);
  const int height = ParseIntDefault(OptionText("ScreenHeight"), 0);
  const bool full = OptionText("FullScreenMode") == "yes";
  const int depth = ParseIntDefault(OptionText("ScreenBPP"), 0);

  bool modeChanged = false, sizeChanged = false;
  if (width != screenWidth_ || height != screenHeight_) modeChanged = sizeChanged = true;
  if (full != fullScreen_) modeChanged = true;
  if (depth != requestedDepth_ && full) modeChanged = true;
  screenWidth_ = width;
  screenHeight_ = height;
  fullScreen_ = full;
  requestedDepth_ = depth;

  bool result = true;
  if (modeChanged) {
    // The monitor's mode is never changed: full screen is the desktop's
    // mode with the image scaled to fit.
    if (!window_)
      displayReady_ = false;
    else if (full)
      displayReady_ = window_->SetFullScreen(width, height);
    else
      displayReady_ = window_->SetWindowed(width, height);
    result = displayReady_;
    lastFrameTime_ = Now();
  }
  if (sizeChanged) back_->SetSize(std::max(width, 0), std::max(height, 0));
  if (result) {
    const std::string caption = OptionText("ApplicationCaption");
    if (caption != caption_ && window_) {
      window_->SetCaption(caption);
      caption_ = caption;
    }
  }
  return result;
}

uint32_t TEngine::ColorToPixel(uint32_t rgb) const {
  if (!displayReady_) return 0;
  auto put = [](uint32_t value, const TChannelFormat& c) {
    return ((value >> (8 - std::min<int>(c.bits, 8))) << c.shift) & c.mask;
  };
  return put((rgb >> 16) & 0xFF, pixelFormat_.red) | put((rgb >> 8) & 0xFF, pixelFormat_.green) |
         put(rgb & 0xFF, pixelFormat_.blue);
}

// --- Update region --------------------------------------------------------------

void TEngine::AddUpdateRect(const TRect& r) {
  if (r.left > screenWidth_ || r.top > screenHeight_ || r.right <= 0 || r.bottom <= 0) return;
  TRect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, screenWidth_),
          std::min(r.bottom, screenHeight_)};
  if (c.left >= c.right || c.top >= c.bottom) return;
  back_->AddDirtyRect(c);
  updatePending_ = true;
}

void TEngine::ClearUpdateRects() {
  back_->ClearDirtyRegion();
  updatePending_ = false;
}

// --- Files, cursor, desktop --------------------------------------------------------

std::string TEngine::GetApplicationPath() {
  return ApplicationPath();
}
std::string TEngine::GetDataPath() {
  return DataPath();
}
bool TEngine::SaveDataText(const std::string& text, const std::string& fileName) {
  return qv::SaveDataText(text, fileName);
}
bool TEngine::SaveApplicationText(const std::string& text, const std::string& fileName) {
  return qv::SaveApplicationText(text, fileName);
}

std::string TEngine::LoadText(const std::string& path, const std::string& key) {
  std::string text = ReadDataFile(path);
  if (!key.empty() && !text.empty()) text = DecipherFromHex(text, key);
  return text;
}

TPoint TEngine::GetCursorPos() {
  TPoint p;
  if (window_) window_->GetCursorPos(p.x, p.y);
  return p;
}

void TEngine::SetCursorPos(TPoint point) {
  if (window_) window_->SetCursorPos(point.x, point.y);
}

void TEngine::Close() {
  if (window_) window_->PostMessage({WM_CLOSE, 0, 0});
  active_ = false;
}

void TEngine::OpenFile(const std::string& path) {
  std::error_code ec;
  const std::string native = ToNativePath(path);
  if (!std::filesystem::is_regular_file(native, ec)) return;
  const std::string absolute = std::filesystem::absolute(native, ec).string();
  TPlatformWindow::OpenWithDesktop(ec ? native : absolute);
  if (window_) window_->PostMessage({WM_SYSCOMMAND, SC_MINIMIZE, 0});
}

void TEngine::OpenURL(const std::string& address) {
  TPlatformWindow::OpenWithDesktop(address);
  if (window_) window_->PostMessage({WM_SYSCOMMAND, SC_MINIMIZE, 0});
}

Ref<ISurface> TEngine::CreateSurface() {
  return MakeRef<TSurface>();
}

}  // namespace qv

namespace qv {

// --- Resources -------------------------------------------------------------------

void TEngine::LoadResources(const StorageRef& node, const std::string& tag, bool pump) {
  if (!node) return;
  const StorageRef content = node->GetChild("content", 0);
  if (!content) return;
  const int count = content->GetChildCount("resource");
  for (int i = 0; i < count; ++i) {
    if (pump) LoopTurn();
    const StorageRef element = content->GetChild("resource", i);
    if (!element) continue;
    const std::string name = ReadString(element, "name", "");
    // Names compare exactly here; an existing name keeps the first resource.
    bool exists = false;
    for (int j = 0; j < resources_->Count() && !exists; ++j)
      if (Ref<IResource> r = resources_->ItemAs<IResource>(j)) exists = r->GetName() == name;
    if (exists) continue;
    try {
      Ref<TAbstractObject> object = CreateFromType(ReadString(element, "type", ""), name);
      if (!object) continue;
      if (Ref<IPersistent> persistent = Query<IPersistent>(object)) persistent->Load(element);
      Ref<IResource> resource = Query<IResource>(object);
      if (!resource) continue;
      resource->SetGroupName(tag);
      resource->SetOwner(this);
      // Keys compare without case: "Pic" after "pic" finds its place taken.
      // It was loaded already, so it gives its content back.
      if (resources_->AddNamed(resource) < 0) resource->ReleaseResource();
    } catch (...) {
      // A resource that cannot be made is skipped.
    }
  }
}

void TEngine::LoadResourceList(const std::string& path, const std::string& tag, bool pump) {
  try {
    const StorageRef root = LoadStorageText(LoadText(path, kGameKey));
    if (root) LoadResources(root, tag, pump);
  } catch (...) {
  }
}

void TEngine::UnloadResources(const std::string& tag) {
  resources_->RemoveGroup(tag);
}

Ref<IResource> TEngine::FindResource(const std::string& name) {
  return resources_ ? resources_->ItemAs<IResource>(name) : nullptr;
}

void TEngine::RemoveResource(const std::string& name) {
  const int index = resources_->IndexOf(name);
  if (index < 0) return;
  if (Ref<IResource> r = resources_->ItemAs<IResource>(index)) r->ReleaseResource();
  resources_->Delete(index);
}

bool TEngine::FindMusic(const std::string& name, bool choose, uint32_t& handle, int& format) {
  Ref<IMusicResource> music = Query<IMusicResource>(FindResource(name));
  if (!music) return false;
  if (choose) music->Choose();
  handle = music->GetMusicHandle();
  format = music->GetFormat();
  return true;
}

bool TEngine::FindSound(const std::string& name, bool choose, uint32_t& sample, int& volume) {
  Ref<ISoundResource> sound = Query<ISoundResource>(FindResource(name));
  if (!sound) return false;
  if (choose) sound->Choose();
  sample = sound->GetSample();
  volume = sound->GetMasterVolume();
  return true;
}

std::vector<uint32_t> TEngine::SoundSamples() {
  std::vector<uint32_t> samples;
  for (int i = 0; i < resources_->Count(); ++i)
    if (Ref<ISoundResource> sound = resources_->ItemAs<ISoundResource>(i))
      if (const uint32_t sample = sound->GetSample()) samples.push_back(sample);
  return samples;
}

std::unique_ptr<TStream> TEngine::OpenResourceStream(const std::string& path) {
  try {
    return OpenDataStream(path, true);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace qv
