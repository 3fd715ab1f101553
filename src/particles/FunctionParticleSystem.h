// "function_particle_system": particles whose creation and motion are
// computed by data-defined functions. Every particle carries its own copy of
// the cells the system's parameter space lays out: row 0 the display values
// (removal, centre x and y, image index, red, green, blue, alpha), row 1 the
// state (column 0 is the particle's age). The system's function (child
// "function") has two sub-functions: "Create" fills a new particle's state
// from its outputs, "Update" turns the state into display values.
//
// The particles are plain records in a vector the system owns; the image
// list holds the children's pictures (taken once with "static_images",
// otherwise for each drawing only).
#pragma once

#include "functions/Function.h"
#include "particles/ParticleSystem.h"

namespace qv {

struct TFunctionParticle {
  std::vector<float> display;  // row 0
  std::vector<float> state;    // row 1
};

class TFunctionParticleSystem : public TParticleSystem {
public:
  TFunctionParticleSystem();

  // "init_creation_count", "static_images" (default yes), "drawmode"
  // (/copyrect/fillcolor, default fillcolor), "blendingmode".
  QV_PROPERTY_TABLE(TFunctionParticleSystem)
  // The parameter space ("paramspace") and the function ("function").
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  void SetOwner(IWidgetOwner* owner) override;
  void Detach() override;

  // Names the table does not know are handed to the function's cells.
  bool SetPropertyValue(const std::string& name, const TVariant& value) override;
  // "surface" and "widget": pictures the function can sample (image
  // references 1 and 2, also written into its cells of those names).
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;

  void Draw(ISurface* target, int x, int y) override;

  int Count() const override { return static_cast<int>(particles_.size()); }
  void ClearParticles() override { particles_.clear(); }
  const std::vector<TFunctionParticle>& Particles() const { return particles_; }
  // Makes n particles through the Create function.
  void CreateParticles(int n);

  // IFunctionOwner: the function links into the system's own space.
  IParamSpace* GetOwnerParamSpace() override { return space_.get(); }
  Ref<IPixelSource> ResolveImage(float reference) override;

protected:
  ~TFunctionParticleSystem() override;

  void UpdateParticles(int dt) override;
  void CreateOnRequest(IParamCollection* params) override;
  void Emit(int dt) override;
  TRect ParticleBounds() override;

private:
  void BindFunction();
  void UpdateParticle(TFunctionParticle& p, int dt);
  // The pictures of the children, in child order.
  void CollectImages();
  const ISurface* ImageAt(const TFunctionParticle& p) const;

  int initCreationCount_ = 0;
  bool staticImages_ = true;
  int drawMode_ = 1;
  int blendingMode_ = kBlendNormal;
  Ref<TParamSpace> space_;
  Ref<IFunction> particleFunction_;
  Ref<IFunction> create_;
  Ref<IFunction> update_;
  double carry_ = 0.0;
  std::vector<TFunctionParticle> particles_;
  std::vector<Ref<ISurface>> images_;
  bool imagesTaken_ = false;
  Ref<ISurface> surfaceSource_;
  Ref<ISurface> widgetSource_;
};

}  // namespace qv
