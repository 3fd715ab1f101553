#include "particles/StochasticParticleSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "widgets/SurfaceWidget.h"

namespace qv {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

uint8_t Channel(uint32_t colour, int index) {
  return static_cast<uint8_t>(colour >> (8 * index));
}

// Round to nearest, ties to even, as RoundEven, without a library call on
// the per-particle path: adding and taking off 1.5 * 2^52 leaves the
// rounded value in the default rounding mode.
inline int Round(double v) {
  constexpr double kMagic = 6755399441055744.0;
  if (!(std::abs(v) < 1e15)) return RoundEven(v);
  return static_cast<int>(static_cast<long long>((v + kMagic) - kMagic));
}

uint8_t Byte(long long v) {
  return static_cast<uint8_t>(std::clamp<long long>(v, 0, 255));
}

}  // namespace

const TPropertyTable<TStochasticParticleSystem>& TStochasticParticleSystem::Properties() {
  using W = TStochasticParticleSystem;
  static const TPropertyTable<W> table = TPropertyTable<W>(TParticleSystem::Properties())
                                             .Int("direction", &W::direction_)
                                             .Int("spread", &W::spread_, 360)
                                             .Int("speed_min", &W::speedMin_, 10)
                                             .Int("speed_max", &W::speedMax_, 100)
                                             .Int("lifetime_min", &W::lifetimeMin_, 1000)
                                             .Int("lifetime_max", &W::lifetimeMax_, 5000)
                                             .Int("gravity_min", &W::gravityMin_)
                                             .Int("gravity_max", &W::gravityMax_)
                                             .Colour("color_start", &W::colorStart_, 0xFFFFFFFFu)
                                             .StorageOnly()
                                             .Colour("color_end", &W::colorEnd_, 0xFF000000u)
                                             .StorageOnly()
                                             .Int("alfa_start", &W::alfaStart_, 255)
                                             .StorageOnly()
                                             .Int("alfa_end", &W::alfaEnd_, 255)
                                             .StorageOnly()
                                             .Int("color_variation", &W::colorVariation_)
                                             .StorageOnly()
                                             .Int("alfa_variation", &W::alfaVariation_)
                                             .StorageOnly()
                                             .Enum("blendingmode", kBlendModeNames, &W::blendingMode_)
                                             .StorageOnly();
  return table;
}

void TStochasticParticleSystem::DrawMotion(TStochasticParticle& p) const {
  p.lifetime = lifetimeMin_ + RandomInt(lifetimeMax_ - lifetimeMin_);
  p.speed = speedMin_ + RandomInt(speedMax_ - speedMin_);
  p.direction = RandomInt(spread_) + direction_ - spread_ / 2;
  p.gravity = std::min(gravityMin_, gravityMax_) + RandomInt(std::abs(gravityMax_ - gravityMin_));
}

void TStochasticParticleSystem::DrawColour(TStochasticParticle& p, uint32_t from) const {
  const double v = RandomInt(colorVariation_) / 100.0;
  for (int c = 0; c < 3; ++c) {
    const int start = Channel(from, c), end = Channel(colorEnd_, c);
    p.start[c] = Byte(start + RoundEven((end - start) * v));
  }
}

bool TStochasticParticleSystem::PlaceParticle(TStochasticParticle& p) {
  const int alpha = RandomInt(360);
  const int rho = RandomInt(emissionRadius_);
  p.x0 = RoundEven(std::cos(alpha * kDegree) * rho) + emissionX_;
  p.y0 = RoundEven(std::sin(alpha * kDegree) * rho) + emissionY_;
  DrawMotion(p);
  DrawColour(p, colorStart_);
  const double w = RandomInt(alfaVariation_) / 100.0;
  p.start[3] = Byte(alfaStart_ + RoundEven((alfaEnd_ - alfaStart_) * w));
  return true;
}

void TStochasticParticleSystem::CreateParticles(int n) {
  for (int i = 0; i < n; ++i) {
    TStochasticParticle p;
    if (!PlaceParticle(p)) continue;
    p.x = static_cast<float>(p.x0);
    p.y = static_cast<float>(p.y0);
    p.cosDir = std::cos(p.direction * kDegree);
    p.sinDir = std::sin(p.direction * kDegree);
    p.color =
        uint32_t{p.start[3]} << 24 | uint32_t{p.start[2]} << 16 | uint32_t{p.start[1]} << 8 | p.start[0];
    particles_.push_back(p);
  }
}

void TStochasticParticleSystem::Emit(int dt) {
  const long long n = std::llround(std::nearbyint(double(dt) * emissionCount_ / 1000.0));
  // A frame makes at most this many (a huge count or step from data would
  // otherwise stall the game).
  constexpr long long kMaxPerEmission = 100000;
  CreateParticles(static_cast<int>(std::clamp<long long>(n, 0, kMaxPerEmission)));
}

void TStochasticParticleSystem::CreateOnRequest(IParamCollection* params) {
  const long long n = params ? VarToInt(params->GetParamValueDef("count", TVariant(int64_t{1})), 1) : 1;
  CreateParticles(static_cast<int>(std::clamp<long long>(n, 0, 100000)));
}

void TStochasticParticleSystem::UpdateParticles(int dt) {
  for (TStochasticParticle& p : particles_) {
    p.age += dt;
    const double age = p.age;
    p.x = static_cast<float>(Round(p.cosDir * p.speed * age / 1000.0) + p.x0);
    p.y = static_cast<float>(Round(age * age * p.gravity / 1000000.0 / 2.0) +
                             Round(p.sinDir * p.speed * age / 1000.0) + p.y0);
    const double f = p.lifetime > 0 ? age / p.lifetime : 1.0;
    uint8_t now[4];
    for (int c = 0; c < 3; ++c) now[c] = Byte(p.start[c] + Round((Channel(colorEnd_, c) - p.start[c]) * f));
    now[3] = Byte(p.start[3] + Round((alfaEnd_ - p.start[3]) * f));
    p.color = uint32_t{now[3]} << 24 | uint32_t{now[2]} << 16 | uint32_t{now[1]} << 8 | now[0];
  }
  std::erase_if(particles_, [](const TStochasticParticle& p) { return p.age > p.lifetime; });
}

TRect TStochasticParticleSystem::ParticleBounds() {
  TRect bounds;
  bool any = false;
  if (particles_.empty()) return bounds;
  const ISurface* image = FirstChildImage();
  if (!image) return bounds;
  const int w = image->GetWidth(), h = image->GetHeight();
  // The union of every particle's rectangle, kept as its four edges.
  for (const TStochasticParticle& p : particles_) {
    const TRect r = TRect::FromSize(RoundEven(p.x), RoundEven(p.y), w, h);
    if (r.IsEmpty()) continue;
    if (!any) {
      bounds = r;
      any = true;
      continue;
    }
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  return bounds;
}

void TStochasticParticleSystem::Draw(ISurface* target, int x, int y) {
  if (!target || particles_.empty()) return;
  const ISurface* image = FirstChildImage();
  if (!image) {
    if (!reportedNoImage_)
      ReportDataError("widget " + GetName(), "a particle system without a picture child draws nothing");
    reportedNoImage_ = true;
    return;
  }
  const int w = image->GetWidth(), h = image->GetHeight();
  const TRect whole{0, 0, w, h};
  const auto mode = static_cast<EBlendMode>(blendingMode_);
  // Onto an engine surface the image is widened once for all particles
  // (the same pixels as one FillColor each).
  if (auto* surface = dynamic_cast<TSurface*>(target); surface && mode == kBlendAddition) {
    preparedImage_.Prepare(*image);
    stamps_.clear();
    for (const TStochasticParticle& p : particles_)
      stamps_.push_back({RoundEven(p.x) + x, RoundEven(p.y) + y, p.color});
    surface->FillColorStamps(image, preparedImage_, mode, transparentLevel_, stamps_);
    return;
  }
  for (const TStochasticParticle& p : particles_)
    target->FillColor(p.color, image, mode, transparentLevel_,
                      TRect::FromSize(RoundEven(p.x) + x, RoundEven(p.y) + y, w, h), whole);
}

// --- Monte-Carlo ------------------------------------------------------------------

bool TMonteCarloParticleSystem::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  if (!SameText(name, "widget")) return TStochasticParticleSystem::SetObjectProperty(name, value);
  Ref<IWidget> widget = Query<IWidget>(value);
  if (value && !widget) return false;
  sourceWidget_ = widget;
  source_ = nullptr;
  sourceRect_ = {};
  if (!widget) return true;
  sourceRect_ = widget->GetRect();
  if (auto* surface = dynamic_cast<TSurfaceWidget*>(widget.get()))
    source_ = Ref<ISurface>(surface->GetSurface());
  else
    source_ = widget->GetImage();
  return true;
}

Ref<IInterface> TMonteCarloParticleSystem::GetObjectProperty(const std::string& name) {
  if (SameText(name, "widget")) return sourceWidget_;
  return TStochasticParticleSystem::GetObjectProperty(name);
}

bool TMonteCarloParticleSystem::PlaceParticle(TStochasticParticle& p) {
  if (!source_) return false;
  const int w = std::min(sourceRect_.Width(), source_->GetWidth());
  const int h = std::min(sourceRect_.Height(), source_->GetHeight());
  if (w <= 0 || h <= 0) return false;
  for (int t = 0; t < 8; ++t) {
    const int px = RandomInt(w), py = RandomInt(h);
    const uint32_t pixel = source_->GetPixel(px, py);
    const int alpha = source_->GetHasAlpha() ? static_cast<int>(pixel >> 24) : 255;
    if (alpha < 20) continue;
    p.x0 = px + sourceRect_.left;
    p.y0 = py + sourceRect_.top;
    DrawMotion(p);
    DrawColour(p, pixel);
    p.start[3] = Byte(alpha - RandomInt(alfaVariation_));
    return true;
  }
  return false;
}

// --- the selection sparkle -----------------------------------------------------------

const TPropertyTable<TSelectedCellParticleSystem>& TSelectedCellParticleSystem::Properties() {
  using W = TSelectedCellParticleSystem;
  static const TPropertyTable<W> table = TPropertyTable<W>(TStochasticParticleSystem::Properties())
                                             .Int("rotate_radius", &W::rotateRadius_, 20)
                                             .Int("rotate_time", &W::rotateTime_, 1500);
  return table;
}

void TSelectedCellParticleSystem::LoadFromStorage(const StorageRef& storage) {
  TStochasticParticleSystem::LoadFromStorage(storage);
  if (rotateTime_ == 0) {
    ReportDataError("widget " + GetName() + "@rotate_time", "a turn cannot take no time; 1500 is used");
    rotateTime_ = 1500;
  }
  PlaceEmission();
}

void TSelectedCellParticleSystem::AdvanceTime(int dt) {
  TStochasticParticleSystem::AdvanceTime(dt);
  PlaceEmission();
}

void TSelectedCellParticleSystem::PlaceEmission() {
  const double t = currentTime_;
  const double angle = t * 2 * std::numbers::pi / rotateTime_;
  const double c = (currentTime_ % 5000) - 2500;
  const double f = (1 - std::abs(c) / 5000) * rotateRadius_;
  emissionX_ = RoundEven(f * std::cos(angle));
  emissionY_ = RoundEven(f * std::sin(angle));
}

}  // namespace qv
