// The services a resource asks of its owner (the engine): data streams,
// audio handles and lookup of other resources. Handles are the audio
// layer's; 0 means none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/Ref.h"
#include "storage/Stream.h"

namespace qv {

class IResource;

class IResourceOwner : public virtual IInterface {
protected:
  ~IResourceOwner() override = default;

public:
  // A readable stream for a data path, or none.
  virtual std::unique_ptr<TStream> OpenResourceStream(const std::string& path) = 0;
  // Module music ("mo3"): a music handle, 0 on failure.
  virtual uint32_t LoadMusicModule(const std::string& file) = 0;
  virtual void FreeMusicModule(uint32_t handle) = 0;
  // A sample allowing that many simultaneous playbacks, 0 on failure.
  virtual uint32_t LoadSample(const std::string& file, int maxPlaybacks) = 0;
  // A stream ("ogg"); the owner reads the file's bytes into `memory`, which
  // the caller keeps alive until the stream is freed.
  virtual uint32_t LoadStream(const std::string& file, std::string& memory) = 0;
  // Releases a sample or a stream.
  virtual void FreeSampleOrStream(uint32_t handle) = 0;
  // The registered resource of that name, or none.
  virtual Ref<IResource> FindResource(const std::string& name) = 0;
};

class TResourceCollection;

// An owner without audio: streams come from the data path resolver, every
// audio handle is 0, and resources are found in an optional collection.
// Serves the data tool and tests.
class TSilentResourceOwner : public IResourceOwner {
protected:
  ~TSilentResourceOwner() override = default;

public:
  explicit TSilentResourceOwner(const TResourceCollection* resources = nullptr) : resources_(resources) {}
  void SetResources(const TResourceCollection* resources) { resources_ = resources; }

  std::unique_ptr<TStream> OpenResourceStream(const std::string& path) override;
  uint32_t LoadMusicModule(const std::string&) override { return 0; }
  void FreeMusicModule(uint32_t) override {}
  uint32_t LoadSample(const std::string&, int) override { return 0; }
  uint32_t LoadStream(const std::string&, std::string&) override { return 0; }
  void FreeSampleOrStream(uint32_t) override {}
  Ref<IResource> FindResource(const std::string& name) override;

private:
  const TResourceCollection* resources_;
};

}  // namespace qv
