#include "widgets/TextWidget.h"
#include "core/StringUtils.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "core/ProcessContext.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {

std::string ExpandMacros(const std::string& text) {
  const auto& hook = ProcessContext().textHook;
  return hook ? hook(text) : text;
}

}  // namespace

const TPropertyTable<TTextWidget>& TTextWidget::Properties() {
  using W = TTextWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TImageWidget::Properties())
          .Int(
              "fixedwidth", [](const W& w) { return w.fixedWidth_; },
              [](W& w, int v) { w.SetLayoutValue(w.fixedWidth_, v); })
          .Always()
          .Bool(
              "usefixedwidth", [](const W& w) { return w.useFixedWidth_; },
              [](W& w, bool v) { w.SetLayoutValue(w.useFixedWidth_, v); })
          .Always()
          .String(
              "textalign", [](const W& w) { return w.textAlign_; },
              [](W& w, const std::string& v) { w.SetLayoutValue(w.textAlign_, v); }, "left")
          .Always()
          .Bool(
              "multiline", [](const W& w) { return w.multiline_; },
              [](W& w, bool v) { w.SetLayoutValue(w.multiline_, v); })
          .Always()
          .Int("textlineheight", &W::textLineHeight_)
          .Always()
          .String(
              "textvertalign", [](const W& w) { return w.textVertAlign_; },
              [](W& w, const std::string& v) { w.SetLayoutValue(w.textVertAlign_, v); }, "top")
          .Always();
  return table;
}

void TTextWidget::LoadFromStorage(const StorageRef& storage) {
  TImageWidget::LoadFromStorage(storage);
  if (!storage) return;
  if (fixedWidth_ == 0) useFixedWidth_ = false;
  // Read as written, so a change of language can expand it again.
  macroText_ = ReadString(storage, "text");
  text_ = DecodeUtf8(ExpandMacros(macroText_));
  Relayout();
}

std::string TTextWidget::GetText() const {
  return EncodeUtf8(text_);
}

void TTextWidget::SetText(const std::string& utf8) {
  macroText_ = utf8;
  ReexpandText();
}

bool TTextWidget::ReexpandText() {
  std::u32string text = DecodeUtf8(ExpandMacros(macroText_));
  if (text == text_) return false;
  text_ = std::move(text);
  Relayout();
  return true;
}

bool TTextWidget::GetSpecialProperty(const std::string& name, TVariant& value) {
  if (SameText(name, "text") || SameText(name, "text_utf8")) {
    value = GetText();
    return true;
  }
  return TImageWidget::GetSpecialProperty(name, value);
}

bool TTextWidget::SetSpecialProperty(const std::string& name, const TVariant& value) {
  if (SameText(name, "text") || SameText(name, "text_utf8")) {
    SetText(VarToString(value));
    return true;
  }
  return TImageWidget::SetSpecialProperty(name, value);
}

void TTextWidget::SetResourceName(const std::string& name) {
  resourceName_ = name;
  Relayout();
}

void TTextWidget::SetWidth(int value) {
  if (value == width_) return;
  TImageWidget::SetWidth(value);
  Relayout();
}

void TTextWidget::SetHeight(int value) {
  if (value == height_) return;
  TImageWidget::SetHeight(value);
  Relayout();
}

void TTextWidget::SetOwner(IWidgetOwner* owner) {
  TImageWidget::SetOwner(owner);
  if (owner) Relayout();
}

void TTextWidget::Invalidate() {
  TImageWidget::Invalidate();
  Relayout();
}

void TTextWidget::SetNeedRepaint(bool value) {
  TImageWidget::SetNeedRepaint(value);
  if (value) textSurfaceDirty_ = true;
}

TRect TTextWidget::GetRect() const {
  const TRect own = TImageWidget::GetRect();
  if (textBounds_.IsEmpty()) return own;
  const int dx = RoundEven(anchorLeft_);
  const int dy = RoundEven(anchorTop_);
  const TRect text{textBounds_.left + dx, textBounds_.top + dy, textBounds_.right + dx,
                   textBounds_.bottom + dy};
  return own.IsEmpty() ? text : BoundingBox(own, text);
}

int TTextWidget::Advance(const TSymbolInfo& s, bool withSides) const {
  if (useFixedWidth_) return fixedWidth_;
  return withSides ? s.leading + s.rect.Width() + s.trailing : s.rect.Width();
}

void TTextWidget::Relayout() {
  needRepaint_ = true;
  geometryChanged_ = true;
  textSurfaceDirty_ = true;
  const Ref<IFontResource> font = FindFontResource();
  if (!font) return;
  fontLineHeight_ = font->GetFontHeight();
  if (reportedFont_ != resourceName_) {
    reportedFont_ = resourceName_;
    reportedCodes_.clear();
  }
  symbols_.clear();
  symbols_.reserve(text_.size());
  for (size_t i = 0; i < text_.size(); ++i) {
    TSymbolInfo s;
    s.position = static_cast<int>(i) + 1;
    s.character = text_[i];
    if (const Ref<ISymbol> glyph = font->GetSymbol(static_cast<int32_t>(text_[i]))) {
      s.visible = true;
      s.source = glyph->GetRect();
      s.rect = {0, 0, glyph->GetWidth(), glyph->GetHeight()};
      s.leading = glyph->GetWLeft();
      s.trailing = glyph->GetWRight();
    } else if (text_[i] != U'\n' && reportedCodes_.insert(text_[i]).second) {
      ReportDataError("widget " + GetFullPath(), "font \"" + resourceName_ + "\" has no character " +
                                                     std::to_string(static_cast<uint32_t>(text_[i])));
    }
    symbols_.push_back(s);
  }
  if (multiline_)
    LayOutLines();
  else
    LayOutSingleLine();
  textBounds_ = {};
  bool any = false;
  for (const TSymbolInfo& s : symbols_) {
    if (!s.visible) continue;
    textBounds_ = any ? BoundingBox(textBounds_, s.rect) : s.rect;
    any = true;
  }
}

void TTextWidget::LayOutSingleLine() {
  int x = 0;
  int h = 0;
  bool overflow = false;
  for (TSymbolInfo& s : symbols_) {
    if (!s.visible) continue;
    const int advance = Advance(s, false);
    if (overflow || x + advance > width_) {
      s.visible = false;
      overflow = true;
      continue;
    }
    h = std::max(h, s.rect.Height());
    x += advance;
  }
  const int lineHeight = fontLineHeight_ > 0 ? fontLineHeight_ : h;
  int pen = textAlign_ == "right" ? width_ - x : textAlign_ == "center" ? (width_ - x) / 2 : 0;
  const int top = textVertAlign_ == "middle"   ? (height_ - lineHeight) / 2
                  : textVertAlign_ == "bottom" ? height_ - lineHeight
                                               : 0;
  for (TSymbolInfo& s : symbols_) {
    if (!s.visible) continue;
    const int w = s.rect.Width();
    const int h2 = s.rect.Height();
    const int cell = useFixedWidth_ ? (fixedWidth_ - w) / 2 : 0;
    s.rect = {pen + cell, top, pen + cell + w, top + h2};
    pen += Advance(s, false);
  }
}

void TTextWidget::LayOutLines() {
  const int lineStep = textLineHeight_ != 0 ? textLineHeight_ : fontLineHeight_;
  const int n = static_cast<int>(symbols_.size());
  int first = 0;
  int y = 0;
  int lines = 0;
  while (first < n) {
    int lineWidth = 0;
    int lastSpace = -1;
    int end = n - 1;
    bool overflow = false;
    for (int j = first; j < n; ++j) {
      const TSymbolInfo& s = symbols_[j];
      if (s.character == U'\n') {
        end = j;
        break;
      }
      if (s.character == U' ') lastSpace = j;
      if (!s.visible) continue;
      lineWidth += Advance(s, true);
      if (lineWidth > width_) {
        end = j;
        overflow = true;
        break;
      }
    }
    if (overflow && lastSpace >= 0) {
      // The word moves to the next line; the space is not drawn.
      for (int k = end; k >= lastSpace; --k)
        if (symbols_[k].visible) lineWidth -= Advance(symbols_[k], true);
      symbols_[lastSpace].visible = false;
      end = lastSpace;
    } else if (overflow) {
      // A word wider than the line breaks between characters; the line
      // keeps at least its first symbol.
      while (lineWidth > width_ && end > first) {
        if (symbols_[end].visible) lineWidth -= Advance(symbols_[end], true);
        --end;
      }
    }
    int pen = textAlign_ == "right"    ? width_ - lineWidth
              : textAlign_ == "center" ? (width_ - lineWidth) / 2
                                       : 0;
    for (int k = first; k <= end; ++k) {
      TSymbolInfo& s = symbols_[k];
      if (!s.visible) continue;
      const int w = s.rect.Width();
      const int h = s.rect.Height();
      if (useFixedWidth_) {
        const int cell = (fixedWidth_ - w) / 2;
        s.rect = {pen + cell, y, pen + cell + w, y + h};
        pen += fixedWidth_;
      } else {
        pen += s.leading;
        s.rect = {pen, y, pen + w, y + h};
        pen += w + s.trailing;
      }
    }
    y += lineStep;
    ++lines;
    first = end + 1;
    if (first < n && y > height_) {
      for (int k = first; k < n; ++k) symbols_[k].visible = false;
      break;
    }
  }
  const int total = fontLineHeight_ + (lines - 1) * lineStep;
  const int offset = textVertAlign_ == "middle"   ? (height_ - total) / 2
                     : textVertAlign_ == "bottom" ? height_ - total
                                                  : 0;
  if (lines == 0 || offset == 0) return;
  for (TSymbolInfo& s : symbols_) {
    if (!s.visible) continue;
    s.rect.top += offset;
    s.rect.bottom += offset;
  }
}

void TTextWidget::PrepareSurface(IFontResource& font) {
  if (!textSurface_) {
    textSurface_ = NewSurface();
    if (!textSurface_) return;
    textSurface_->SetHasAlpha(true);
  }
  const int w = std::max(textSurface_->GetWidth(), textBounds_.Width());
  const int h = std::max(textSurface_->GetHeight(), textBounds_.Height());
  if (w != textSurface_->GetWidth() || h != textSurface_->GetHeight()) {
    textSurface_->SetSize(w, h);
    textSurfaceDirty_ = true;
  }
  // The cache also follows the draw kind and colour it was rendered with.
  if (renderedDrawMode_ != drawMode_ || renderedFillColor_ != fillColor_) textSurfaceDirty_ = true;
  if (!textSurfaceDirty_) return;
  textSurface_->Clear();
  for (const TSymbolInfo& s : symbols_) {
    if (!s.visible) continue;
    // Asked again per glyph: a substitute font answers its surface from the
    // member that supplied the last symbol.
    if (!font.GetSymbol(static_cast<int32_t>(s.character))) continue;
    auto* image = QueryPtr<IImageResource>(&font);
    const Ref<ISurface> glyphs = image ? image->GetSurface() : nullptr;
    if (!glyphs) continue;
    const TRect dest{s.rect.left - textBounds_.left, s.rect.top - textBounds_.top,
                     s.rect.right - textBounds_.left, s.rect.bottom - textBounds_.top};
    if (drawMode_ == kFillColor)
      textSurface_->FillColor(fillColor_, glyphs.get(), kBlendNormal, 255, dest, s.source);
    else
      textSurface_->Draw(glyphs.get(), s.source, kBlendNormal, 255, dest);
  }
  renderedDrawMode_ = drawMode_;
  renderedFillColor_ = fillColor_;
  textSurfaceDirty_ = false;
}

void TTextWidget::Draw(ISurface* target, int x, int y) {
  if (!target || textBounds_.IsEmpty()) return;
  const Ref<IFontResource> font = FindFontResource();
  if (!font) return;
  PrepareSurface(*font);
  if (!textSurface_) return;
  const int w = textSurface_->GetWidth();
  const int h = textSurface_->GetHeight();
  const TRect source{0, 0, w, h};
  const TRect dest{x + textBounds_.left, y + textBounds_.top, x + textBounds_.left + w,
                   y + textBounds_.top + h};
  if (drawMode_ == kFillColor)
    target->FillColor(fillColor_, textSurface_.get(), kBlendNormal, transparentLevel_, dest, source);
  else
    target->Draw(textSurface_.get(), source, kBlendNormal, transparentLevel_, dest);
}

int TTextWidget::TextWidth(const std::string& text) {
  const Ref<IFontResource> font = FindFontResource();
  if (!font) return 0;
  int width = 0;
  for (const char32_t c : DecodeUtf8(text))
    if (const Ref<ISymbol> glyph = font->GetSymbol(static_cast<int32_t>(c)))
      width += useFixedWidth_ ? fixedWidth_ : glyph->GetWidth();
  return width;
}

int TTextWidget::TextHeight(const std::string& text) {
  const Ref<IFontResource> font = FindFontResource();
  if (!font) return 0;
  int height = 0;
  for (const char32_t c : DecodeUtf8(text))
    if (const Ref<ISymbol> glyph = font->GetSymbol(static_cast<int32_t>(c)))
      height = std::max(height, glyph->GetHeight());
  return height;
}

bool TTextWidget::SymbolRect(int position, TRect& rect) {
  if (position < 1 || position > static_cast<int>(symbols_.size())) return false;
  const TSymbolInfo& s = symbols_[position - 1];
  if (!s.visible) return false;
  const int dx = RoundEven(anchorLeft_);
  const int dy = RoundEven(anchorTop_);
  rect = {s.rect.left + dx, s.rect.top + dy, s.rect.right + dx, s.rect.bottom + dy};
  return true;
}

}  // namespace qv
