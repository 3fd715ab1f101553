// Bitmap fonts: a glyph atlas image with one symbol per character, and the
// substitute font that asks several fonts in turn.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/Rect.h"
#include "resources/ImageResource.h"
#include "storage/Collections.h"

namespace qv {

class ISymbol : public virtual IInterface {
public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual int32_t GetCode() const = 0;
  // Also names the symbol with the code's decimal text.
  virtual void SetCode(int32_t code) = 0;
  virtual TRect GetRect() const = 0;
  virtual void SetRect(const TRect& rect) = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // Extra advance on the left and on the right of the glyph.
  virtual int GetWLeft() const = 0;
  virtual int GetWRight() const = 0;
};

class TSymbol : public TPersistObject, public ISymbol {
public:
  TSymbol() { SetStorageName("symbol"); }
  // "scancode" (also the name), "left", "top", "width", "height", "wleft",
  // "wright"; a scancode that is not a number leaves every default.
  void LoadFromStorage(const StorageRef& storage) override;
  // "scancode", "left", "top", "width", "height" only.
  void SaveToStorage(const StorageRef& storage) override;

  const std::string& GetName() const override { return TPersistObject::GetName(); }
  void SetName(const std::string& name) override { TPersistObject::SetName(name); }
  int32_t GetCode() const override { return code_; }
  void SetCode(int32_t code) override;
  TRect GetRect() const override { return rect_; }
  void SetRect(const TRect& rect) override { rect_ = rect; }
  int GetWidth() const override { return rect_.Width(); }
  int GetHeight() const override { return rect_.Height(); }
  int GetWLeft() const override { return wleft_; }
  int GetWRight() const override { return wright_; }
  void SetWLeft(int v) { wleft_ = v; }
  void SetWRight(int v) { wright_ = v; }

private:
  int32_t code_ = 0;
  TRect rect_;
  int wleft_ = 0;
  int wright_ = 0;
};

// Symbols keyed by their name, the decimal text of the code: a second
// symbol of a code is dropped and reported.
class TSymbolCollection : public TStaticCreationPersistItemCollection<TSymbol> {
public:
  TSymbolCollection() {
    SetStorageName("symbols");
    SetItemElementName("symbol");
  }
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
};

class IFontResource : public virtual IInterface {
public:
  // The largest symbol height.
  virtual int GetFontHeight() = 0;
  // The symbol of a character code, or none.
  virtual Ref<ISymbol> GetSymbol(int32_t code) = 0;
};

class TFontResource : public TImageResource, public IFontResource {
public:
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  int GetFontHeight() override { return fontHeight_; }
  Ref<ISymbol> GetSymbol(int32_t code) override;
  TSymbolCollection& Symbols() { return *symbols_; }
  // Recomputes the font height from the symbols.
  void UpdateFontHeight();

private:
  Ref<TSymbolCollection> symbols_ = MakeRef<TSymbolCollection>();
  int fontHeight_ = 0;
};

class TFontSubstituteResource : public TResource, public IFontResource, public IImageResource {
public:
  // "fonts" (written when not empty).
  QV_PROPERTY_TABLE(TFontSubstituteResource)
  // Collects the listed fonts through the owner.
  void SetOwner(IResourceOwner* owner) override;
  void ReleaseResource() override;

  int GetFontHeight() override;
  // The first member font that has the symbol answers and becomes current.
  Ref<ISymbol> GetSymbol(int32_t code) override;
  // From the current font; 0 or none before any symbol was asked for.
  int GetWidth() override;
  int GetHeight() override;
  Ref<ISurface> GetSurface() override;

  const std::string& GetFonts() const { return fonts_; }
  void SetFonts(const std::string& fonts) { fonts_ = fonts; }
  int MemberCount() const { return members_.Count(); }
  Ref<IFontResource> GetCurrentFont() const { return current_; }

private:
  std::string fonts_;
  TKeyedList<Ref<IFontResource>> members_;
  Ref<IFontResource> current_;
};

}  // namespace qv
