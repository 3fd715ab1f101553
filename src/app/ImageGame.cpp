#include "app/ImageGame.h"

#include <cstdio>

#include "app/IEngine.h"
#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "graphics/ImageCodec.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TImageGame>& TImageGame::Properties() {
  static const TPropertyTable<TImageGame> table =
      TPropertyTable<TImageGame>(TPersistObject::Properties())
          .String("image", &TImageGame::imagePath_)
          .Colour("background", &TImageGame::background_, 0xFF000000u)
          .Always()
          .Hex()
          .Int("left", &TImageGame::GetHomeLeft, &TImageGame::SetHomeLeft)
          .Int("top", &TImageGame::GetHomeTop, &TImageGame::SetHomeTop)
          .Bool("allowclose", &TImageGame::allowClose_, true);
  return table;
}

void TImageGame::Start(IEngine* engine) {
  engine_ = engine;
  if (!imagePath_.empty()) {
    const std::string bytes = ReadDataFile(imagePath_);
    image_ = bytes.empty() ? nullptr : DecodePng(bytes, EPngAccept::kAny);
  }
  Invalidate();
}

void TImageGame::Finish() {
  image_ = nullptr;
}

void TImageGame::Advance(int dt) {
  time_ += dt;
}

void TImageGame::Draw(ISurface* surface) {
  const TRect all{0, 0, surface->GetWidth(), surface->GetHeight()};
  surface->FillColor(background_, nullptr, kBlendNormal, 255, all, all);
  if (image_) {
    const TRect source{0, 0, image_->GetWidth(), image_->GetHeight()};
    surface->Draw(image_.get(), source, kBlendNormal, 255,
                  TRect::FromSize(left_, top_, image_->GetWidth(), image_->GetHeight()));
  }
}

bool TImageGame::MouseEvent(uint32_t message, TPoint point, uintptr_t keyState) {
  (void)keyState;
  ++mouseEvents_;
  if (message == WM_LBUTTONDOWN) {
    left_ = point.x;
    top_ = point.y;
  } else if (message == WM_RBUTTONDOWN) {
    left_ = homeLeft_;
    top_ = homeTop_;
  } else {
    return false;
  }
  Invalidate();
  return true;
}

bool TImageGame::KeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  ++keyEvents_;
  if (message == WM_CHAR && (lParam & KF_ALTDOWN) && wParam == '\r' && engine_) {
    const bool full = SameText(VarToString(engine_->GetOption("FullScreenMode")), "yes");
    engine_->SetOption("FullScreenMode", full ? "no" : "yes");
    engine_->ApplyDisplaySettings();
    Invalidate();
    return true;
  }
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE && engine_) {
    engine_->Close();
    return true;
  }
  return false;
}

void TImageGame::FocusChanged(bool focused) {
  focused_ = focused;
}

bool TImageGame::CloseQuery() {
  ++closeQueries_;
  return allowClose_;
}

void TImageGame::SetOption(const std::string& name, const std::string& value) {
  if (engine_) engine_->SetOption(name, value);
}

void TImageGame::CollectUpdates() {
  if (!dirty_ || !engine_) return;
  dirty_ = false;
  engine_->AddUpdateRect({0, 0, 1 << 20, 1 << 20});
}

}  // namespace qv
