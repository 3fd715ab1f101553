// A fake engine (surfaces, the update region, sounds, music) and a fake screen at
// the top of an owner chain, so widget tests need no window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "functions/FunctionsTypes.h"
#include "graphics/Surface.h"
#include "services/IMusicPlayer.h"
#include "services/ISoundPlayer.h"
#include "services/ISurfaceFactory.h"
#include "services/IUpdateRegion.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetOwner.h"
#include "widgets/IWindow.h"
#include "widgets/WidgetsTypes.h"

namespace qv::test {

class TFakeEngine : public TAbstractObject,
                    public ISurfaceFactory,
                    public IUpdateRegion,
                    public ISoundPlayer,
                    public IMusicPlayer {
public:
  Ref<ISurface> CreateSurface() override {
    ++surfacesMade;
    return MakeRef<TSurface>();
  }
  void AddUpdateRect(const TRect& rect) override { rects.push_back(rect); }
  uint32_t PlaySound(const ISound* sound) override {
    played.push_back(sound->GetResourceName() + " " + std::to_string(sound->GetVolume()) + " " +
                     std::to_string(sound->GetPan()));
    return 7;
  }
  void StopSound(const ISound* sound) override { stopped.push_back(sound->GetResourceName()); }
  void StopAllSounds() override {}
  uint32_t PlayMusic(const IMusic* music) override {
    musicPlayed.push_back(music->GetResourceName());
    return 9;
  }
  void StopMusic(const IMusic* music) override { musicStopped.push_back(music->GetResourceName()); }

  std::vector<TRect> rects;
  std::vector<std::string> played;
  std::vector<std::string> stopped;
  std::vector<std::string> musicPlayed;
  std::vector<std::string> musicStopped;
  int surfacesMade = 0;

protected:
  ~TFakeEngine() override = default;
};

// The top of the chain: the identity mapping, dirty rectangles to the
// engine, the window lookup from its root widget.
class TFakeScreen : public TAbstractObject, public IWidgetOwner, public IWindow {
public:
  explicit TFakeScreen(IInterface* engine) : engine_(engine) {}

  const std::string& GetName() const override { return name_; }
  IInterface* GetEngine() override { return engine_; }
  IWindow* GetWindow() override { return this; }
  IEventHandler* GetEventHandler() override { return nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string& path) override {
    return root_ ? root_->FindWidget(path) : nullptr;
  }
  std::string GetFullPath() override { return name_; }
  void AddDirtyRect(const TRect& rect) override {
    if (auto* region = QueryPtr<IUpdateRegion>(engine_)) region->AddUpdateRect(rect);
  }

  // The window: capture and focus kept without notification, which is all
  // the widget layer needs; screens implement the real thing.
  void SetCapture(IWidget* widget) override { capture_ = widget; }
  void ReleaseCapture() override { capture_ = nullptr; }
  IWidget* GetCapture() override { return capture_; }
  void SetFocus(IWidget* widget) override { focus_ = widget; }
  void ClearFocus() override { focus_ = nullptr; }
  IWidget* GetFocus() override { return focus_; }
  IWidgetCollection* GetRootChildren() override { return root_ ? root_->GetChildren() : nullptr; }
  void ResetInput() override { capture_ = focus_ = nullptr; }
  Ref<IWidget> WidgetAtPos(TPoint point) override { return root_ ? root_->WidgetAtPos(point) : nullptr; }
  void PlayScreenSound(const std::string&) override {}
  void StopScreenSound(const std::string&) override {}

  void SetRoot(const Ref<IWidget>& root) {
    if (root_) root_->Detach();
    root_ = root;
    if (root_) root_->SetOwner(this);
  }
  void DetachRoot() { SetRoot(nullptr); }

protected:
  ~TFakeScreen() override {
    if (root_) root_->Detach();
  }

private:
  IInterface* engine_;
  std::string name_ = "screen";
  Ref<IWidget> root_;
  IWidget* capture_ = nullptr;
  IWidget* focus_ = nullptr;
};

// A widget made from XML text through the registry.
inline Ref<IWidget> WidgetFromXml(const std::string& xml) {
  return CreateFromNodeAs<IWidget>(LoadStorageText(xml));
}

// The fixture of the widget tests: the widget and function kinds
// registered, a fake engine, and a screen whose root a test attaches.
class TWidgetTest : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterFunctionsTypes();
    RegisterWidgetsTypes();
  }
  void TearDown() override {
    screen->DetachRoot();
    TClassRegistry::Instance().Reset();
  }
  Ref<IWidget> Attach(const std::string& xml) {
    Ref<IWidget> root = WidgetFromXml(xml);
    EXPECT_TRUE(root) << xml;
    screen->SetRoot(root);
    return root;
  }

  Ref<TFakeEngine> engine = MakeRef<TFakeEngine>();
  Ref<TFakeScreen> screen = MakeRef<TFakeScreen>(engine.get());
};

}  // namespace qv::test
