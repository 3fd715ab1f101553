#include "app/Engine.h"

#include <filesystem>
#include <stdexcept>

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Parsing.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "platform/Clock.h"
#include "resources/GroupResource.h"
#include "resources/ImageResource.h"
#include "resources/MusicResource.h"
#include "resources/ResourceCollection.h"
#include "resources/SoundResource.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

static_assert(ISoundChannels::kChannelStopped == TAudioLibrary::kStopped &&
                  ISoundChannels::kChannelPlaying == TAudioLibrary::kPlaying &&
                  ISoundChannels::kChannelPaused == TAudioLibrary::kPaused,
              "the channel service speaks the audio library's states");

namespace {

// The option defaults, set at the start of Init.
const std::pair<const char*, const char*> kOptionDefaults[] = {
    {"ScreenWidth", "640"},
    {"ScreenHeight", "480"},
    {"ScreenBPP", "0"},
    {"FullScreenMode", "no"},
    {"WindowScale", "1"},
    {"SmoothScaling", "no"},
    {"ColourBlind", "no"},  // the board's high-contrast pictures (an alternative resource list)
    {"ApplicationCaption", kProductName},
    {"SoundVolume", "70"},
    {"MusicVolume", "30"},
    {"ShowFPS", "no"},
    {"ShowRects", "yes"},
    // Empty: English alone (the game loads and switches languages).
    {"Language", ""},
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

// Sets a flag for the length of a scope, also when an exception leaves it.
class TFlagScope {
public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& flag_;
};

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
  startError_.clear();
  // Start-up has usually made the application folder current already.
  std::error_code ec;
  const std::filesystem::path appFolder = ReplaceAll(ApplicationPath(), "\\", "/");
  if (!std::filesystem::equivalent(std::filesystem::current_path(ec), appFolder, ec))
    std::filesystem::current_path(appFolder, ec);
  if (run_.seed)
    SetRandomSeed(*run_.seed);
  else
    Randomize();
  startSeed_ = GetRandomSeed();

  for (const auto& [name, value] : kOptionDefaults) options_->SetParamValue(name, std::string(value));
  SetFocused(true);

  bool result = false;
  window_ = TPlatformWindow::Create(kWindowClassName);
  if (!window_) {
    startError_ = "no display: the window could not be created";
  } else {
    desktopDepth_ = window_->DesktopBitsPerPixel();
    caption_ = kWindowClassName;
    UpdateCaption();
    if (audio_->Init(run_.audioDevice)) {
      audio_->SetMusicVolume(OptionText("MusicVolume"));
      audio_->SetSoundVolume(OptionText("SoundVolume"));
    }
    result = LoadGame(gameFile);
    terminated_ = false;
  }
  if (!result) Done();
  return result;
}

bool TEngine::LoadGame(const std::string& gameFile) {
  auto fail = [&](const std::string& why) {
    startError_ = gameFile + ": " + why;
    ReportDataError(gameFile, why);
    return false;
  };
  const std::string text = LoadText(gameFile, kGameKey);
  if (text.empty()) return fail("the game description is missing or empty");
  const StorageRef root = LoadStorageText(text);
  if (!root) return fail("the game description does not parse (not enciphered with the game key, or no XML)");
  const std::string name = ReadString(root, "name", "");
  const std::string type = ReadString(root, "type", "");
  if (type.empty()) return fail("the game description names no \"type\"");
  Ref<TAbstractObject> object = CreateFromType(type, name);
  if (!object) return fail("unknown game type \"" + type + "\"");
  Ref<IGame> game = Query<IGame>(object);
  if (!game) return fail("the type \"" + type + "\" is not a game");
  try {
    if (Ref<IPersistent> persistent = Query<IPersistent>(object)) persistent->Load(root);
    game_ = game;
    if (run_.beforeStart) run_.beforeStart(*game_);
    game_->Start(this);
  } catch (const std::runtime_error& e) {
    game_ = nullptr;
    return fail(std::string("the game did not load: ") + e.what());
  }
  return true;
}

void TEngine::Run() {
  if (!window_ || running_) return;  // a run inside the run is refused
  TFlagScope running(running_);
  try {
    active_ = true;
    lastFrameTime_ = Now();
    ApplyDisplaySettings();
    TTrace::SetFrame(frames_ + 1);
    if (run_.beforeFrame) run_.beforeFrame(frames_ + 1);
    while (!terminated_) LoopTurn();
  } catch (const std::runtime_error& e) {
    // A data error nobody below caught ends the run; the player sees the
    // game close.
    ReportDataError("frame loop", std::string("the run ended on an error: ") + e.what());
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
    } catch (const std::runtime_error& e) {
      ReportDataError("game", std::string("finishing failed: ") + e.what());
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
    fixedTime_ += dt;
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
  if (run_.afterFrame) run_.afterFrame(frames_);
  if (run_.frameLimit > 0 && frames_ >= run_.frameLimit) {
    if (window_)
      window_->PostQuitMessage(0);
    else
      terminated_ = true;
    return;
  }
  // Input delivered before the next frame belongs to it.
  TTrace::SetFrame(frames_ + 1);
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

int TEngine::OptionInt(const std::string& name, int fallback) {
  const std::string text = OptionText(name);
  constexpr int kNotANumber = INT32_MIN;
  const int value = ParseIntDefault(text, kNotANumber);
  if (value != kNotANumber) return value;
  ReportDataError("option " + name,
                  "\"" + text + "\" is not a whole number; " + std::to_string(fallback) + " is used");
  return fallback;
}

void TEngine::UpdateCaption() {
  const std::string caption = OptionText("ApplicationCaption");
  if (caption == caption_ || !window_) return;
  window_->SetCaption(caption);
  caption_ = caption;
}

void TEngine::SetOption(const std::string& name, const std::string& value) {
  options_->SetParamValue(name, value);
  if (SameText(name, "MusicVolume"))
    audio_->SetMusicVolume(value);
  else if (SameText(name, "SoundVolume"))
    audio_->SetSoundVolume(value);
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
  const int width = OptionInt("ScreenWidth", 0);
  const int height = OptionInt("ScreenHeight", 0);
  const std::string fullText = OptionText("FullScreenMode");
  const bool full = fullText == "yes";
  if (!full && fullText != "no")
    ReportDataError("option FullScreenMode", "\"" + fullText + "\" is neither yes nor no; no is used");
  const int depth = OptionInt("ScreenBPP", 0);
  // The window: 1, 2 or 3 times the screen, or "fit" (the largest whole
  // factor the desktop holds); pixels scaled sharp unless SmoothScaling.
  // Unset (an engine that was not started) is 1 and sharp.
  const std::string scaleText = OptionText("WindowScale");
  int scale = scaleText == "fit" ? 0 : scaleText == "2" ? 2 : scaleText == "3" ? 3 : 1;
  if (!scaleText.empty() && scaleText != "fit" && scaleText != "1" && scaleText != "2" && scaleText != "3") {
    ReportDataError("option WindowScale", "\"" + scaleText + "\" is not 1, 2, 3 or fit; 1 is used");
    scale = 1;
  }
  const std::string smoothText = OptionText("SmoothScaling");
  const bool smooth = smoothText == "yes";
  if (!smooth && !smoothText.empty() && smoothText != "no")
    ReportDataError("option SmoothScaling", "\"" + smoothText + "\" is neither yes nor no; no is used");

  bool modeChanged = false, sizeChanged = false;
  if (width != screenWidth_ || height != screenHeight_) modeChanged = sizeChanged = true;
  if (full != fullScreen_) modeChanged = true;
  if (scale != windowScale_ && !full) modeChanged = true;
  if (smooth != smoothScaling_) modeChanged = true;
  windowScale_ = scale;
  smoothScaling_ = smooth;
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
      displayReady_ = window_->SetFullScreen(width, height, smooth);
    else
      displayReady_ = window_->SetWindowed(width, height, scale, smooth);
    result = displayReady_;
    lastFrameTime_ = Now();
  }
  if (sizeChanged) back_->SetSize(std::max(width, 0), std::max(height, 0));
  if (result) UpdateCaption();
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
uint32_t TEngine::Milliseconds() {
  return run_.fixedStepMs > 0 ? fixedTime_ : Now();
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
  if (TTrace::On()) TTrace::Emit("quit", {});
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

void TEngine::PumpTurn() {
  if (pumping_ || terminated_) return;
  TFlagScope pumping(pumping_);
  LoopTurn();
}

void TEngine::LoadResources(const StorageRef& node, const std::string& tag, bool pump) {
  if (!node) return;
  if (loading_) {
    // Asked from inside the running load (a pumped frame, a resource):
    // after it, before the outermost call returns.
    deferredLoads_.push_back({node, "", tag, pump});
    return;
  }
  TFlagScope loading(loading_);
  // What waits belongs to this load only, also when an error leaves it.
  struct TForget {
    TEngine& engine;
    ~TForget() {
      engine.deferredLoads_.clear();
      engine.listsLoaded_.clear();
    }
  } forget{*this};
  LoadResourcesNow(node, tag, pump);
  while (!deferredLoads_.empty()) {
    const TDeferredLoad next = deferredLoads_.front();
    deferredLoads_.erase(deferredLoads_.begin());
    if (next.node) {
      LoadResourcesNow(next.node, next.tag, next.pump);
    } else if (listsLoaded_.insert(next.path + '\n' + next.tag).second) {
      if (const StorageRef root = LoadStorageText(LoadText(next.path, kGameKey)))
        LoadResourcesNow(root, next.tag, next.pump);
      else
        ReportDataError(next.path, "the resource list is missing or does not parse");
    }
  }
}

void TEngine::ReportEmptyContent(IResource& resource) {
  auto* file = QueryPtr<TResource>(&resource);
  if (!file || file->GetLoadByDemand()) return;  // loads on first use, and says so then
  bool empty = false;
  if (auto* image = QueryPtr<TImageResource>(file))
    empty = !image->GetSurface();
  else if (auto* sound = QueryPtr<TSoundResource>(file))
    empty = audio_->Available() && sound->GetSample() == 0;
  else if (auto* music = QueryPtr<TMusicResource>(file))
    empty = audio_->Available() && music->GetMusicHandle() == 0;
  if (empty)
    ReportDataError("resource " + resource.GetName(), "its content cannot be loaded from \"" +
                                                          file->GetFile() + "\"; the resource stays empty");
}

void TEngine::LoadResourcesNow(const StorageRef& node, const std::string& tag, bool pump) {
  const StorageRef content = node->GetChild("content", 0);
  if (!content) return;
  const int count = content->GetChildCount("resource");
  for (int i = 0; i < count; ++i) {
    if (pump) PumpTurn();
    const StorageRef element = content->GetChild("resource", i);
    if (!element) continue;
    const std::string name = ReadString(element, "name", "");
    // Names compare exactly here; an existing name keeps the first resource.
    bool exists = false;
    for (int j = 0; j < resources_->Count() && !exists; ++j)
      if (Ref<IResource> r = resources_->ItemAs<IResource>(j)) exists = r->GetName() == name;
    if (exists) continue;
    const std::string where = "resource " + name;
    const std::string type = ReadString(element, "type", "");
    try {
      Ref<TAbstractObject> object = CreateFromType(type, name);
      if (!object) {
        ReportDataError(where, "unknown resource type \"" + type + "\"; skipped");
        continue;
      }
      if (Ref<IPersistent> persistent = Query<IPersistent>(object)) persistent->Load(element);
      Ref<IResource> resource = Query<IResource>(object);
      if (!resource) {
        ReportDataError(where, "the type \"" + type + "\" is not a resource; skipped");
        continue;
      }
      resource->SetGroupName(tag);
      resource->SetOwner(this);
      // Keys compare without case: "Pic" after "pic" finds its place taken.
      // It was loaded already, so it gives its content back.
      if (resources_->AddNamed(resource) < 0) {
        resource->ReleaseResource();
        ReportDataError(where, "another resource has this name in another case; this one is dropped");
      } else {
        ReportEmptyContent(*resource);
      }
    } catch (const std::runtime_error& e) {
      ReportDataError(where, std::string("cannot be loaded: ") + e.what());
    }
  }
}

void TEngine::LoadResourceList(const std::string& path, const std::string& tag, bool pump) {
  if (loading_) {
    for (const TDeferredLoad& d : deferredLoads_)
      if (!d.node && d.path == path && d.tag == tag) return;  // asked already
    deferredLoads_.push_back({nullptr, path, tag, pump});
    return;
  }
  const StorageRef root = LoadStorageText(LoadText(path, kGameKey));
  if (!root) {
    ReportDataError(path, "the resource list is missing or does not parse");
    return;
  }
  listsLoaded_.insert(path + '\n' + tag);  // asked again while it loads: nothing more to do
  LoadResources(root, tag, pump);
}

void TEngine::LoadResourceListOver(const std::string& path, const std::string& tag) {
  const StorageRef root = LoadStorageText(LoadText(path, kGameKey));
  if (!root) {
    ReportDataError(path, "the resource list is missing or does not parse");
    return;
  }
  if (const StorageRef content = root->GetChild("content", 0))
    for (int i = 0; i < content->GetChildCount("resource"); ++i)
      if (const StorageRef element = content->GetChild("resource", i))
        RemoveResource(ReadString(element, "name", ""));
  LoadResources(root, tag, false);
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
  Ref<IMusicResource> music = FindMusicResource(name);
  if (!music) return false;
  if (choose) music->Choose();
  handle = music->GetMusicHandle();
  format = music->GetFormat();
  if (handle == 0 && audio_->Available())
    ReportDataError("resource " + name, "the music has no sound (its file is missing or no music)");
  return true;
}

bool TEngine::FindSound(const std::string& name, bool choose, uint32_t& sample, int& volume) {
  Ref<ISoundResource> sound = FindSoundResource(name);
  if (!sound) return false;
  if (choose) sound->Choose();
  sample = sound->GetSample();
  volume = sound->GetMasterVolume();
  if (sample == 0 && audio_->Available())
    ReportDataError("resource " + name, "the sound has no sample (its file is missing or no sound)");
  return true;
}

namespace {

// The samples of the loaded sound resources of a collection and of its
// groups' members. A resource waiting to be loaded by demand has none, and
// asking it would load it.
void CollectLoadedSamples(TResourceCollection& resources, std::vector<uint32_t>& samples) {
  for (int i = 0; i < resources.Count(); ++i) {
    Ref<TResource> resource = resources.ItemAs<TResource>(i);
    if (!resource || resource->GetLoadByDemand()) continue;
    if (auto* group = QueryPtr<TGroupResource>(resource.get())) {
      if (QueryPtr<ISoundResource>(group)) CollectLoadedSamples(group->Members(), samples);
    } else if (auto* sound = QueryPtr<ISoundResource>(resource.get())) {
      if (const uint32_t sample = sound->GetSample()) samples.push_back(sample);
    }
  }
}

}  // namespace

std::vector<uint32_t> TEngine::SoundSamples() {
  std::vector<uint32_t> samples;
  CollectLoadedSamples(*resources_, samples);
  return samples;
}

std::unique_ptr<TStream> TEngine::OpenResourceStream(const std::string& path) {
  try {
    return OpenDataStream(path, true);
  } catch (const std::runtime_error& e) {
    ReportDataError(path, std::string("cannot be read: ") + e.what());
    return nullptr;
  }
}

}  // namespace qv
