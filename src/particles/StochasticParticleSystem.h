// Particles emitted at random in a disc and moving ballistically while
// their colour fades ("stochastic_particle_system"); the same, started on
// opaque pixels of another widget's picture ("montecarlo_particle_system");
// and the board's selection sparkle, whose emission point circles the
// selected cell ("SelectedCellParticleSystem").
//
// Every random draw comes from the program's one generator, in a fixed
// order per particle: start angle, start radius, lifetime, speed,
// direction, gravity, colour factor, alpha factor (Monte-Carlo systems draw
// the pixel tries instead of angle and radius). So a seed fixes every
// particle.
#pragma once

#include "graphics/PreparedMask.h"
#include "particles/ParticleSystem.h"

namespace qv {

struct TStochasticParticle {
  int x0 = 0, y0 = 0;                 // start point
  float x = 0.0f, y = 0.0f;           // current position (relative to the widget)
  int lifetime = 0, age = 0;          // milliseconds
  int speed = 0;                      // pixels per second
  int direction = 0;                  // degrees
  double cosDir = 1.0, sinDir = 0.0;  // of the direction, taken once
  int gravity = 0;                    // pixels per second squared
  uint8_t start[4] = {0, 0, 0, 0};    // B, G, R, A at birth
  uint32_t color = 0;                 // current colour, 0xAARRGGBB
};

class TStochasticParticleSystem : public TParticleSystem {
public:
  // "direction", "spread" (degrees), "speed_min", "speed_max",
  // "lifetime_min", "lifetime_max", "gravity_min", "gravity_max",
  // "color_start", "color_end" (their alpha replaced by "alfa_start" and
  // "alfa_end"), "color_variation", "alfa_variation" (percent),
  // "blendingmode".
  QV_PROPERTY_TABLE(TStochasticParticleSystem)

  // Each particle painted in its colour through the first child's alpha at
  // its position, with the blending mode and the widget's opacity.
  void Draw(ISurface* target, int x, int y) override;

  int Count() const override { return static_cast<int>(particles_.size()); }
  void ClearParticles() override { particles_.clear(); }
  const std::vector<TStochasticParticle>& Particles() const { return particles_; }
  // Makes n particles as emission does.
  void CreateParticles(int n);

protected:
  ~TStochasticParticleSystem() override = default;

  void UpdateParticles(int dt) override;
  void CreateOnRequest(IParamCollection* params) override;
  void Emit(int dt) override;
  TRect ParticleBounds() override;

  // The start point and start colour of a new particle; false makes none.
  virtual bool PlaceParticle(TStochasticParticle& p);
  // Lifetime, speed, direction and gravity.
  void DrawMotion(TStochasticParticle& p) const;
  // R, G, B from `from` towards "color_end" by one random factor.
  void DrawColour(TStochasticParticle& p, uint32_t from) const;

  int direction_ = 0, spread_ = 360;
  int speedMin_ = 10, speedMax_ = 100;
  int lifetimeMin_ = 1000, lifetimeMax_ = 5000;
  int gravityMin_ = 0, gravityMax_ = 0;
  uint32_t colorStart_ = 0xFFFFFFFFu, colorEnd_ = 0xFF000000u;
  int alfaStart_ = 255, alfaEnd_ = 255;
  int colorVariation_ = 0, alfaVariation_ = 0;
  int blendingMode_ = kBlendNormal;

  std::vector<TStochasticParticle> particles_;
  bool reportedNoImage_ = false;
  // The image's alpha widened for the many fills of one Draw.
  TPreparedMask preparedImage_;
  std::vector<TMaskStamp> stamps_;
};

// Particles that start on pixels of at least alpha 20 of a source picture
// (the object property "widget": that widget's rectangle and picture).
class TMonteCarloParticleSystem : public TStochasticParticleSystem {
public:
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;
  Ref<IInterface> GetObjectProperty(const std::string& name) override;

  void SetSource(const Ref<ISurface>& surface, const TRect& rect) {
    source_ = surface;
    sourceRect_ = rect;
  }

protected:
  ~TMonteCarloParticleSystem() override = default;

  // Up to 8 random pixels until one is opaque enough; its place, colour
  // and alpha (less the alpha variation) start the particle.
  bool PlaceParticle(TStochasticParticle& p) override;

private:
  Ref<IWidget> sourceWidget_;
  Ref<ISurface> source_;
  TRect sourceRect_;
};

// The selection sparkle: after every update the emission point moves to
// angle t * 2 pi / "rotate_time" at a distance breathing between half and
// all of "rotate_radius" over 5 seconds.
class TSelectedCellParticleSystem : public TStochasticParticleSystem {
public:
  // "rotate_radius" (default 20), "rotate_time" (ms per turn, default 1500).
  QV_PROPERTY_TABLE(TSelectedCellParticleSystem)

  void LoadFromStorage(const StorageRef& storage) override;
  void AdvanceTime(int dt) override;

protected:
  ~TSelectedCellParticleSystem() override = default;

private:
  void PlaceEmission();

  int rotateRadius_ = 20;
  int rotateTime_ = 1500;
};

}  // namespace qv
