// A text drawn with a bitmap font resource: laid out on one line (cut where
// it overflows) or on several (broken at spaces, or between characters in a
// word wider than the widget), aligned both ways, rendered once into a
// cached surface.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "widgets/ITextWidget.h"
#include "widgets/ImageWidget.h"

namespace qv {

// One character of a text widget's text and where layout put it.
struct TSymbolInfo {
  int position = 0;  // 1-based index in the text
  char32_t character = 0;
  TRect rect;    // (0, 0, glyph size) before layout, then relative to the widget
  TRect source;  // the glyph in the font surface
  int leading = 0;
  int trailing = 0;
  bool visible = false;  // the font has the glyph and layout kept it
};

class TTextWidget : public TImageWidget, public ITextWidget {
public:
  // "fixedwidth", "usefixedwidth" (forced off when the fixed width is 0),
  // "textalign" ("left", "center", "right"), "multiline",
  // "textlineheight", "textvertalign" ("top", "middle", "bottom"), all
  // always written; "text" is read (through the language macros) but not
  // written; "text" and "text_utf8" are properties.
  QV_PROPERTY_TABLE(TTextWidget)

  void LoadFromStorage(const StorageRef& storage) override;

  // The text as UTF-8; a write expands language macros and relays out when
  // the text changed.
  std::string GetText() const;
  void SetText(const std::string& utf8);
  // The text as loaded or last written, before expansion: what a change of
  // language expands again.
  const std::string& GetMacroText() const { return macroText_; }
  // Expands the macro text again (after the language tables changed); true
  // when the shown text changed.
  bool ReexpandText();
  const std::u32string& GetCodes() const { return text_; }
  void SetResourceName(const std::string& name) override;
  // A new size lays the text out again.
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  void SetOwner(IWidgetOwner* owner) override;
  void Invalidate() override;
  void SetNeedRepaint(bool value) override;
  TRect GetRect() const override;
  void Draw(ISurface* target, int x, int y) override;

  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  bool SymbolRect(int position, TRect& rect) override;

  // Recomputes the symbols and their places from the font.
  void Relayout();
  const std::vector<TSymbolInfo>& GetSymbols() const { return symbols_; }
  const TRect& GetTextBounds() const { return textBounds_; }
  int GetFontLineHeight() const { return fontLineHeight_; }
  ISurface* GetTextSurface() const { return textSurface_.get(); }

protected:
  ~TTextWidget() override = default;
  bool GetSpecialProperty(const std::string& name, TVariant& value) override;
  bool SetSpecialProperty(const std::string& name, const TVariant& value) override;

private:
  template <class T>
  void SetLayoutValue(T& field, const T& value) {
    if (value == field) return;
    field = value;
    Relayout();
  }
  int Advance(const TSymbolInfo& s, bool withSides) const;
  void LayOutSingleLine();
  void LayOutLines();
  void PrepareSurface(IFontResource& font);

  std::u32string text_;
  std::string macroText_;
  int fixedWidth_ = 0;
  bool useFixedWidth_ = false;
  std::string textAlign_ = "left";
  bool multiline_ = false;
  int textLineHeight_ = 0;
  std::string textVertAlign_ = "top";
  TRect textBounds_;
  Ref<ISurface> textSurface_;
  bool textSurfaceDirty_ = true;
  int renderedDrawMode_ = -1;
  uint32_t renderedFillColor_ = 0;
  int fontLineHeight_ = 0;
  std::vector<TSymbolInfo> symbols_;
  // Characters already reported missing, per font name.
  std::string reportedFont_;
  std::set<char32_t> reportedCodes_;
};

}  // namespace qv
