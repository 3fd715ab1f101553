#include "app/ImageGame.h"

#include <cstdio>

#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "app/IEngine.h"
#include "graphics/ImageCodec.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {

std::string HexText(uint32_t v) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", v);
  return text;
}

}  // namespace

void TImageGame::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  imagePath_ = ReadString(storage, "image", "");
  long long colour = 0;
  background_ = TryParseInt(ReadString(storage, "background", ""), colour) ? static_cast<uint32_t>(colour)
                                                                           : 0xFF000000u;
  homeLeft_ = left_ = ReadInt(storage, "left", 0);
  homeTop_ = top_ = ReadInt(storage, "top", 0);
  allowClose_ = ReadBool(storage, "allowclose", true);
}

void TImageGame::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  WriteString(storage, "image", imagePath_, !imagePath_.empty());
  WriteString(storage, "background", "$" + HexText(background_));
  WriteInt(storage, "left", homeLeft_, homeLeft_ != 0);
  WriteInt(storage, "top", homeTop_, homeTop_ != 0);
  WriteBool(storage, "allowclose", allowClose_, !allowClose_);
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
