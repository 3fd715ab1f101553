// The engine services the game reaches: folders and text files, options,
// the display, resources, the system cursor, sound and music, closing, the
// desktop opener, surfaces and the update region.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Messages.h"
#include "core/Ref.h"
#include "core/Variant.h"
#include "graphics/Rect.h"
#include "services/IApplicationClose.h"
#include "services/IClock.h"
#include "services/ICursorPosition.h"
#include "services/IDesktopOpener.h"
#include "services/IEngineOptions.h"
#include "services/IMusicPlayer.h"
#include "services/IResourceLookup.h"
#include "services/ISoundChannels.h"
#include "services/ISoundPlayer.h"
#include "services/ISurfaceFactory.h"
#include "services/IUpdateRegion.h"
#include "storage/HierStorage.h"

namespace qv {

class IGame;
class TPlatformWindow;

// Sees every window message the engine does not consume, before the
// window's default processing.
using TMessageHook = std::function<void(const TMessage& message)>;

// The whole engine, for the game and the main routine. Widgets and screens
// see only the narrow services it derives from (src/services/).
class IEngine : public virtual IApplicationClose,
                public virtual IResourceLookup,
                public virtual ISoundPlayer,
                public virtual ISoundChannels,
                public virtual IMusicPlayer,
                public virtual ISurfaceFactory,
                public virtual IUpdateRegion,
                public virtual ICursorPosition,
                public virtual IDesktopOpener,
                public virtual IEngineOptions,
                public virtual IClock {
protected:
  ~IEngine() override = default;

public:
  virtual std::string GetApplicationPath() = 0;
  virtual std::string GetDataPath() = 0;
  virtual bool SaveDataText(const std::string& text, const std::string& fileName) = 0;
  virtual bool SaveApplicationText(const std::string& text, const std::string& fileName) = 0;

  // Options (GetOption, SetOption) are IEngineOptions; the display follows
  // them here.
  virtual bool ApplyDisplaySettings() = 0;

  // The whole file through the data path resolver, deciphered when a key is
  // given; empty when missing.
  virtual std::string LoadText(const std::string& path, const std::string& key) = 0;
  // Creates and registers the resources under the node's "content"; with
  // `pump`, one loop turn runs before each resource.
  virtual void LoadResources(const StorageRef& node, const std::string& tag, bool pump) = 0;
  virtual void LoadResourceList(const std::string& path, const std::string& tag, bool pump) = 0;
  // The list's resources stand in for those of the same names (in any
  // case): each one registered is released and removed first, then the
  // list loads without pumping. An alternative set of pictures swaps in
  // this way, and widgets show it at once (they look media up by name).
  virtual void LoadResourceListOver(const std::string& path, const std::string& tag) = 0;
  virtual void UnloadResources(const std::string& tag) = 0;
  virtual void RemoveResource(const std::string& name) = 0;

  // The system cursor, in back-surface coordinates (GetCursorPos is
  // ICursorPosition).
  virtual void SetCursorPos(TPoint point) = 0;
  virtual void HideSystemCursor() = 0;
  virtual void ShowSystemCursor() = 0;

  virtual void SetMusicVolume(const std::string& value) = 0;

  // Close (IApplicationClose) asks the window to close and stops frames.
  // OpenFile and OpenURL are IDesktopOpener.
  virtual Ref<IGame> GetGame() = 0;
  virtual void ClearUpdateRects() = 0;
  virtual TPlatformWindow* GetWindowHandle() = 0;
  virtual void SetMessageHook(TMessageHook hook) = 0;
  virtual void ClearMessageHook() = 0;
};

// The main routine's view of the engine.
class IApplication : public virtual IInterface {
protected:
  ~IApplication() override = default;

public:
  // Brings up the engine, the window, the display, audio and the game.
  virtual bool Init(const std::string& gameFile) = 0;
  // The message and frame loop, until the quit message.
  virtual void Run() = 0;
  // Shuts everything down; safe to call more than once.
  virtual void Done() = 0;
};

}  // namespace qv
