// Particle systems: group widgets that keep a list of light-weight particles,
// move them every frame and draw each as an image taken from their child
// widgets. The children are image sources only; they are never drawn
// themselves.
//
// The particles are plain records in a vector the system owns; nothing else
// holds them, so creation and removal cost no reference counting. The
// system's rectangle is the union of its particles' image rectangles.
#pragma once

#include <vector>

#include "graphics/Surface.h"
#include "widgets/GroupWidget.h"

namespace qv {

// Command codes of ExecuteCommand for every particle system.
enum EParticleCommand : int {
  // Makes particles now: "count" of them (default 1); a function system
  // makes one whose state cells take the parameters of their names.
  kParticleCreate = 1,
  // Removes every particle.
  kParticleClear = 2,
};

class TParticleSystem : public TGroupWidget {
public:
  // "width", "height", "emission_x", "emission_y", "emission_radius",
  // "emission_count" (particles per second), "delta_step" (ms; 0 emits
  // continuously); "count" (live particles) as a read-only property.
  QV_PROPERTY_TABLE(TParticleSystem)

  // The base time step (children included), then the system's update.
  void AdvanceTime(int dt) override;
  // The union of the particles' image rectangles in owner coordinates.
  TRect GetRect() const override { return bounds_; }
  double GetLeft() const override { return bounds_.left; }
  double GetTop() const override { return bounds_.top; }
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  void ExecuteCommand(int code, IParamCollection* params) override;

  virtual int Count() const = 0;
  virtual void ClearParticles() = 0;

  int GetEmissionX() const { return emissionX_; }
  int GetEmissionY() const { return emissionY_; }
  void SetEmission(int x, int y) {
    emissionX_ = x;
    emissionY_ = y;
  }
  int GetAccumulator() const { return accumulator_; }

protected:
  ~TParticleSystem() override = default;

  // 1. every particle by dt, the dead removed; 2. emission (whole steps
  // with "delta_step"); 3. the bounds, and a repaint while there are or
  // were particles.
  void UpdateSystem(int dt);
  virtual void UpdateParticles(int dt) = 0;
  // A creation request (kParticleCreate).
  virtual void CreateOnRequest(IParamCollection* params) = 0;
  virtual void Emit(int dt) = 0;
  // The union of the particles' rectangles relative to the widget.
  virtual TRect ParticleBounds() = 0;

  // The picture of the first child: a surface widget's surface, otherwise
  // the child rendered into a scratch surface; nullptr without one.
  ISurface* FirstChildImage();

  int width_ = 0, height_ = 0;
  int emissionX_ = 0, emissionY_ = 0, emissionRadius_ = 0, emissionCount_ = 0, deltaStep_ = 0;
  int accumulator_ = 0;
  TRect bounds_;

private:
  Ref<ISurface> scratch_;
};

// A particle's image rectangle (w x h from its top-left corner), added to
// a union that ignores empty rectangles.
void UniteRect(TRect& bounds, bool& any, const TRect& rect);

}  // namespace qv
