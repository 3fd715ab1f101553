// A node of the widget tree as its owner, its screen and other widgets see
// it: time, life, geometry, drawing, hit testing, lookup by path, sounds and
// properties by name (IPropertyObject).
#pragma once

#include <cstdint>
#include <string>

#include "core/Ref.h"
#include "core/Variant.h"
#include "graphics/Rect.h"
#include "graphics/Surface.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"

namespace qv {

class IWidgetOwner;
class IWidgetCollection;
class ISoundCollection;

// The name and the properties by name are those of the persist object,
// declared again here so a widget has one of each.
class IWidget : public virtual IInterface {
protected:
  ~IWidget() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  // "/" paths, the built-in keys, aliases, then extra params; unknown names
  // read empty and refuse writes (false).
  virtual TVariant GetPropertyValue(const std::string& name) = 0;
  virtual bool SetPropertyValue(const std::string& name, const TVariant& value) = 0;

  // --- tree --------------------------------------------------------------
  // A child by index text or name; empty when there is none.
  virtual Ref<IWidget> GetChild(const std::string& key) = 0;
  // Stores the owner (a back-pointer), applies "redefinedparams" and resets
  // a linked function.
  virtual void SetOwner(IWidgetOwner* owner) = 0;
  // Releases what the widget holds of its owner chain and clears the owner.
  virtual void Detach() = 0;
  virtual IWidgetOwner* GetOwner() const = 0;
  virtual IWidgetCollection* GetChildren() = 0;
  // "" itself, "." this widget, ".." the owner, "window:" the screen, else
  // a child name or index; segments joined by "/".
  virtual Ref<IWidget> FindWidget(const std::string& path) = 0;
  virtual std::string GetFullPath() = 0;

  // --- time and life ------------------------------------------------------
  virtual void Invalidate() = 0;
  virtual bool IsDead() const = 0;
  virtual void SetDead(bool value) = 0;
  virtual bool IsPaused() const = 0;
  virtual void SetPaused(bool value) = 0;
  // The time-rate entry point of a frame: dt scaled and rounded, then AdvanceTime.
  virtual void Advance(int dt) = 0;
  virtual void AdvanceTime(int dt) = 0;
  virtual void Restart() = 0;
  virtual void Resume() = 0;
  virtual void Pause() = 0;
  virtual bool IsAdvanced() const = 0;
  virtual void SetAdvanced(bool value) = 0;
  // SetVisible(visible), then SetPaused(!visible).
  virtual void Show(bool visible) = 0;

  // --- geometry -------------------------------------------------------------
  virtual bool IsVisible() const = 0;
  virtual void SetVisible(bool value) = 0;
  virtual int GetZ() const = 0;
  virtual void SetZ(int value) = 0;
  virtual double GetAnchorLeft() const = 0;
  virtual void SetAnchorLeft(double value) = 0;
  virtual double GetAnchorTop() const = 0;
  virtual void SetAnchorTop(double value) = 0;
  // A screen point in the coordinate space of this widget's anchor.
  virtual TPoint ScreenToLocal(TPoint point) = 0;
  virtual double GetLeft() const = 0;
  virtual double GetTop() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // In owner coordinates; right and bottom are left + width, top + height.
  virtual TRect GetRect() const = 0;

  // --- drawing ----------------------------------------------------------------
  virtual int GetTransparentLevel() const = 0;
  virtual void SetTransparentLevel(int level) = 0;
  // Draws with the widget's origin at (x, y) of the target.
  virtual void Draw(ISurface* target, int x, int y) = 0;
  // The widget rendered into a new surface; empty when it cannot be made.
  virtual Ref<ISurface> GetImage() = 0;
  virtual bool NeedsRepaint() const = 0;
  virtual void SetNeedRepaint(bool value) = 0;
  // Reports the changed rectangles to the owner; answers the visibility.
  virtual bool UpdateDirtyRegion(bool forceOld, bool forceNew) = 0;
  virtual bool WasVisible() const = 0;
  // The last UpdateDirtyRegion reported a rectangle.
  virtual bool HasDirtyRect() const = 0;
  // The rectangle (GetRect) this widget's UpdateDirtyRegion computed in the
  // running dirty pass `pass` (TDirtyPass::Current()); false when it ran in
  // no such pass, or keeps no rectangle.
  virtual bool GetRectOfPass(uint64_t pass, TRect& rect) const = 0;

  // --- input --------------------------------------------------------------------
  virtual bool IsEnabled() const = 0;
  virtual void SetEnabled(bool value) = 0;
  virtual bool IsTabStop() const = 0;
  virtual void SetTabStop(bool value) = 0;
  virtual bool IsMouseStop() const = 0;
  virtual void SetMouseStop(bool value) = 0;
  // The point is in owner coordinates.
  virtual Ref<IWidget> WidgetAtPos(TPoint point) = 0;
  // Both edges of the rectangle are inside.
  virtual bool ContainsPoint(TPoint point, bool ignoreVisibility) = 0;
  virtual void CaptureLost() = 0;
  virtual void FocusLost() = 0;
  virtual void FocusGained() = 0;
  virtual bool MouseEvent(unsigned message, TPoint point, unsigned flags) = 0;
  virtual bool KeyEvent(unsigned message, unsigned key, unsigned flags) = 0;
  virtual void ExecuteCommand(int code, IParamCollection* params) = 0;

  // --- sounds and parameters -------------------------------------------------------
  // The engine's channel, 0 when nothing played.
  virtual uint32_t PlaySound(const std::string& name, bool replace, int volume, int pan) = 0;
  virtual void StopSound(const std::string& name) = 0;
  virtual ISoundCollection* GetSounds() = 0;
  virtual void SetExtraParam(const std::string& name, const TVariant& value) = 0;
  // Properties whose values are objects ("owner", "image", "widget",
  // "surface", "cachesurface"); empty for other names.
  virtual Ref<IInterface> GetObjectProperty(const std::string& name) = 0;
  // False when the name is not a writable object property.
  virtual bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) = 0;
};

}  // namespace qv
