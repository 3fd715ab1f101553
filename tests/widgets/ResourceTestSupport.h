// An engine with resources for the resource widget tests: images and bitmap
// fonts whose surfaces and symbol tables a test builds in memory.
#pragma once

#include <map>
#include <string>

#include "resources/FontResource.h"
#include "resources/Resource.h"
#include "services/IResourceLookup.h"
#include "widgets/WidgetTestSupport.h"

namespace qv::test {

class TMemoryImage : public TResource, public IImageResource {
public:
  explicit TMemoryImage(Ref<ISurface> surface) : surface_(std::move(surface)) {}
  int GetWidth() override { return surface_ ? surface_->GetWidth() : 0; }
  int GetHeight() override { return surface_ ? surface_->GetHeight() : 0; }
  Ref<ISurface> GetSurface() override { return surface_; }

protected:
  ~TMemoryImage() override = default;
  Ref<ISurface> surface_;
};

// A font of glyphs placed side by side in one surface.
class TMemoryFont : public TMemoryImage, public IFontResource {
public:
  explicit TMemoryFont(Ref<ISurface> surface) : TMemoryImage(std::move(surface)) {}
  // A glyph of the character at `rect` of the surface.
  void AddGlyph(char32_t code, const TRect& rect, int leading = 0, int trailing = 0) {
    auto symbol = MakeRef<TSymbol>();
    symbol->SetCode(static_cast<int32_t>(code));
    symbol->SetRect(rect);
    symbol->SetWLeft(leading);
    symbol->SetWRight(trailing);
    symbols_[static_cast<int32_t>(code)] = symbol;
    if (rect.Height() > height_) height_ = rect.Height();
  }
  int GetFontHeight() override { return height_; }
  Ref<ISymbol> GetSymbol(int32_t code) override {
    const auto it = symbols_.find(code);
    return it == symbols_.end() ? nullptr : Ref<ISymbol>(it->second);
  }

protected:
  ~TMemoryFont() override = default;

private:
  std::map<int32_t, Ref<TSymbol>> symbols_;
  int height_ = 0;
};

class TResourceEngine : public TFakeEngine, public IResourceLookup {
public:
  Ref<IResource> FindResource(const std::string& name) override {
    ++lookups;
    const auto it = resources.find(name);
    return it == resources.end() ? nullptr : it->second;
  }
  void Add(const std::string& name, const Ref<IResource>& resource) { resources[name] = resource; }

  std::map<std::string, Ref<IResource>> resources;
  int lookups = 0;

protected:
  ~TResourceEngine() override = default;
};

}  // namespace qv::test
