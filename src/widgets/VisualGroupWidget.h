// A group with bounds (the union of its visible children), hit testing from
// the top child down, and an optional cache of its picture.
#pragma once

#include "widgets/GroupWidget.h"

namespace qv {

class TVisualGroupWidget : public TGroupWidget {
public:
  // "caching" and "returnselfbypos", written when true.
  QV_PROPERTY_TABLE(TVisualGroupWidget)

  void SetOwner(IWidgetOwner* owner) override;

  double GetLeft() const override { return Bounds().left; }
  double GetTop() const override { return Bounds().top; }
  int GetWidth() const override { return Bounds().Width(); }
  int GetHeight() const override { return Bounds().Height(); }
  TRect GetRect() const override { return Bounds(); }

  void Draw(ISurface* target, int x, int y) override;
  // The children invalidated, then the cache rebuilt when caching is on.
  void Invalidate() override;
  Ref<IWidget> WidgetAtPos(TPoint point) override;
  bool ContainsPoint(TPoint point, bool ignoreVisibility) override;
  Ref<IInterface> GetObjectProperty(const std::string& name) override;

  bool IsCaching() const { return caching_; }
  void SetCaching(bool value);
  bool ReturnsSelfByPos() const { return returnSelfByPos_; }
  ISurface* GetCacheSurface() const { return cacheSurface_.get(); }

protected:
  ~TVisualGroupWidget() override = default;

private:
  // The union of the visible children's rectangles shifted by the rounded
  // anchor; the empty rectangle at the rounded anchor without one.
  TRect Bounds() const;
  TPoint Relative(TPoint point) const {
    return {point.x - RoundEven(anchorLeft_), point.y - RoundEven(anchorTop_)};
  }

  bool caching_ = false;
  // The union of the children's rectangles (unshifted), kept for the rest
  // of the dirty pass in which the children settled.
  mutable uint64_t childBoundsPass_ = 0;
  mutable bool childBoundsAny_ = false;
  mutable TRect childBounds_;
  Ref<ISurface> cacheSurface_;
  bool returnSelfByPos_ = false;
};

}  // namespace qv
