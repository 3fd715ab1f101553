#include "resources/FontResource.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/Params.h"
#include "storage/StorageAccess.h"

namespace qv {

void TSymbol::SetCode(int32_t code) {
  code_ = code;
  SetName(std::to_string(code));
}

namespace {

// Glyph atlases are surfaces (at most 64 megapixels), so no symbol reaches
// further than this; clamping keeps rectangle and advance sums in range.
constexpr int kMaxSymbolExtent = 1 << 16;

int SymbolValue(const StorageRef& storage, const std::string& name, int low) {
  const int value = ReadInt(storage, name, 0);
  const int clamped = std::clamp(value, low, kMaxSymbolExtent);
  if (clamped != value)
    ReportDataError("font symbol", "\"" + name + "\" " + std::to_string(value) + " is outside " +
                                       std::to_string(low) + ".." + std::to_string(kMaxSymbolExtent) + "; " +
                                       std::to_string(clamped) + " is used");
  return clamped;
}

}  // namespace

void TSymbol::LoadFromStorage(const StorageRef& storage) {
  long long code = 0;
  if (!TryParseInt(ReadString(storage, "scancode", ""), code) || code < INT32_MIN || code > INT32_MAX) return;
  SetCode(static_cast<int32_t>(code));
  const int left = SymbolValue(storage, "left", -kMaxSymbolExtent);
  const int top = SymbolValue(storage, "top", -kMaxSymbolExtent);
  rect_ = TRect::FromSize(left, top, SymbolValue(storage, "width", 0), SymbolValue(storage, "height", 0));
  wleft_ = SymbolValue(storage, "wleft", -kMaxSymbolExtent);
  wright_ = SymbolValue(storage, "wright", -kMaxSymbolExtent);
}

void TSymbol::SaveToStorage(const StorageRef& storage) {
  WriteInt(storage, "scancode", code_);
  WriteInt(storage, "left", rect_.left);
  WriteInt(storage, "top", rect_.top);
  WriteInt(storage, "width", rect_.Width());
  WriteInt(storage, "height", rect_.Height());
}

void TFontResource::LoadFromStorage(const StorageRef& storage) {
  TImageResource::LoadFromStorage(storage);
  symbols_->Clear();
  if (storage) {
    if (StorageRef child = storage->GetChild("symbols", 0)) symbols_->Load(child);
  }
  UpdateFontHeight();
}

void TFontResource::SaveToStorage(const StorageRef& storage) {
  TImageResource::SaveToStorage(storage);
  if (storage) symbols_->Save(storage->AddChild("symbols"));
}

void TFontResource::UpdateFontHeight() {
  fontHeight_ = 0;
  for (int i = 0; i < symbols_->Count(); ++i)
    if (auto s = symbols_->ItemAs<ISymbol>(i)) fontHeight_ = std::max(fontHeight_, s->GetHeight());
}

Ref<ISymbol> TFontResource::GetSymbol(int32_t code) {
  const std::string key = std::to_string(code);
  Ref<ISymbol> symbol = symbols_->ItemAs<ISymbol>(key);
  // A symbol without a code sits under a generated key, which may look
  // like a number; it answers for no character.
  return symbol && symbol->GetName() == key ? symbol : nullptr;
}

const TPropertyTable<TFontSubstituteResource>& TFontSubstituteResource::Properties() {
  static const TPropertyTable<TFontSubstituteResource> table =
      TPropertyTable<TFontSubstituteResource>(TResource::Properties())
          .String("fonts", &TFontSubstituteResource::fonts_);
  return table;
}

void TFontSubstituteResource::SetOwner(IResourceOwner* owner) {
  TResource::SetOwner(owner);
  members_.Clear();
  current_ = nullptr;
  if (!owner) return;
  for (const std::string& item : SplitParams(fonts_, ',')) {
    const std::string name = Trim(item);
    // A substitute never lists itself (that would be a reference cycle).
    if (name == GetName()) continue;
    if (auto font = Query<IFontResource>(owner->FindResource(name))) members_.Add(name, font);
  }
}

void TFontSubstituteResource::ReleaseResource() {
  TResource::ReleaseResource();
  members_.Clear();
  current_ = nullptr;
}

namespace {

// Substitutes may list substitutes; two that list each other (once both
// were handed to an owner again) would ask each other forever. Questions
// to substitutes nest at most this deep; deeper ones get no answer.
constexpr int kMaxSubstituteDepth = 8;
thread_local int substituteDepth = 0;

struct TSubstituteDepth {
  TSubstituteDepth() { ++substituteDepth; }
  ~TSubstituteDepth() { --substituteDepth; }
  TSubstituteDepth(const TSubstituteDepth&) = delete;
  TSubstituteDepth& operator=(const TSubstituteDepth&) = delete;
  bool TooDeep() const { return substituteDepth > kMaxSubstituteDepth; }
};

}  // namespace

int TFontSubstituteResource::GetFontHeight() {
  const TSubstituteDepth depth;
  if (depth.TooDeep()) return 0;
  int height = 0;
  for (const auto& m : members_) height = std::max(height, m.value->GetFontHeight());
  return height;
}

Ref<ISymbol> TFontSubstituteResource::GetSymbol(int32_t code) {
  const TSubstituteDepth depth;
  if (depth.TooDeep()) return nullptr;
  for (const auto& m : members_) {
    if (Ref<ISymbol> symbol = m.value->GetSymbol(code)) {
      current_ = m.value;
      return symbol;
    }
  }
  return nullptr;
}

int TFontSubstituteResource::GetWidth() {
  const TSubstituteDepth depth;
  auto image = depth.TooDeep() ? nullptr : Query<IImageResource>(current_);
  return image ? image->GetWidth() : 0;
}

int TFontSubstituteResource::GetHeight() {
  const TSubstituteDepth depth;
  auto image = depth.TooDeep() ? nullptr : Query<IImageResource>(current_);
  return image ? image->GetHeight() : 0;
}

Ref<ISurface> TFontSubstituteResource::GetSurface() {
  const TSubstituteDepth depth;
  auto image = depth.TooDeep() ? nullptr : Query<IImageResource>(current_);
  return image ? image->GetSurface() : nullptr;
}

}  // namespace qv
