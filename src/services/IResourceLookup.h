// Resources by name: what widgets and screens look up in the engine's global
// resource collection (images, fonts, sounds, music).
#pragma once

#include <string>

#include "core/Diagnostics.h"
#include "core/Ref.h"
#include "resources/FontResource.h"
#include "resources/ImageResource.h"
#include "resources/MusicResource.h"
#include "resources/SoundResource.h"

namespace qv {

class IResourceLookup : public virtual IInterface {
protected:
  ~IResourceLookup() override = default;

public:
  // The registered resource of that name (the collection's keys ignore
  // case); empty when there is none. Quiet: callers that only ask whether a
  // resource exists use it.
  virtual Ref<IResource> FindResource(const std::string& name) = 0;

  // The named resource as the kind a widget needs. Empty, and reported as a
  // data error, when no resource has that name or it is of another kind; an
  // empty name means "none" and is not reported.
  Ref<IImageResource> FindImage(const std::string& name) { return FindAs<IImageResource>(name, "an image"); }
  Ref<IFontResource> FindFont(const std::string& name) { return FindAs<IFontResource>(name, "a font"); }
  Ref<ISoundResource> FindSoundResource(const std::string& name) {
    return FindAs<ISoundResource>(name, "a sound");
  }
  Ref<IMusicResource> FindMusicResource(const std::string& name) {
    return FindAs<IMusicResource>(name, "a music");
  }

private:
  template <class I>
  Ref<I> FindAs(const std::string& name, const char* kind) {
    if (name.empty()) return nullptr;
    Ref<IResource> resource = FindResource(name);
    if (!resource) {
      ReportDataError("resource " + name, "no resource of that name");
      return nullptr;
    }
    Ref<I> typed = Query<I>(resource);
    if (!typed) ReportDataError("resource " + name, std::string("is not ") + kind + " resource");
    return typed;
  }
};

}  // namespace qv
