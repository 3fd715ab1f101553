// A small game that shows one image on a coloured background. It stands in
// for the full game where a run only needs the engine: the end-to-end test's
// fixture, engine tests, and checking a display set-up by hand.
//
// Description attributes: "image" (data path of a PNG), "background"
// (0xAARRGGBB colour, decimal or "$" hexadecimal), "left" and "top" (where
// the image goes), "allowclose" ("no" refuses window close requests).
// A left click moves the image's corner to the pointer, a right click puts
// it back, Escape closes, and Alt+Enter toggles full screen.
#pragma once

#include <cstdint>
#include <string>

#include "app/IGame.h"
#include "graphics/Surface.h"
#include "storage/PersistObject.h"

namespace qv {

class TImageGame : public TPersistObject, public IGame {
protected:
  ~TImageGame() override = default;

public:
  // "image" (when not empty), "background" (always, as "$AARRGGBB"), "left"
  // and "top" (the image's home corner, when not 0), "allowclose" (when "no").
  QV_PROPERTY_TABLE(TImageGame)

  void Start(IEngine* engine) override;
  void Finish() override;
  void Advance(int dt) override;
  void Draw(ISurface* surface) override;
  bool MouseEvent(uint32_t message, TPoint point, uintptr_t keyState) override;
  bool KeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void FocusChanged(bool focused) override;
  bool CloseQuery() override;
  void SetOption(const std::string& name, const std::string& value) override;
  void CollectUpdates() override;

  // What the game saw, for tests.
  int64_t Time() const { return time_; }
  int CloseQueries() const { return closeQueries_; }
  int KeyEvents() const { return keyEvents_; }
  int MouseEvents() const { return mouseEvents_; }
  bool Focused() const { return focused_; }
  TPoint ImagePosition() const { return {left_, top_}; }
  bool HasImage() const { return image_ != nullptr; }
  void SetAllowClose(bool allow) { allowClose_ = allow; }

private:
  void Invalidate() { dirty_ = true; }
  int GetHomeLeft() const { return homeLeft_; }
  int GetHomeTop() const { return homeTop_; }
  // The home corner is also where the image starts.
  void SetHomeLeft(int left) { homeLeft_ = left_ = left; }
  void SetHomeTop(int top) { homeTop_ = top_ = top; }

  IEngine* engine_ = nullptr;
  std::string imagePath_;
  uint32_t background_ = 0xFF000000u;
  int homeLeft_ = 0, homeTop_ = 0;
  int left_ = 0, top_ = 0;
  bool allowClose_ = true;
  Ref<TSurface> image_;
  bool dirty_ = true;
  bool focused_ = true;
  int64_t time_ = 0;
  int closeQueries_ = 0, keyEvents_ = 0, mouseEvents_ = 0;
};

}  // namespace qv
