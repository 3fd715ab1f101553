#include "particles/FunctionParticleSystem.h"

#include <algorithm>
#include <cmath>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "functions/FloatToInt.h"
#include "functions/FunctionsTypes.h"
#include "storage/ClassRegistry.h"
#include "widgets/SurfaceWidget.h"

namespace qv {

namespace {

// The cell whose definition has that name, set or not; nullptr without one.
float* NamedCell(IFunction* function, const std::string& name) {
  if (!function) return nullptr;
  TParamSpace& space = function->GetParamSpace();
  for (int r = 0; r < space.GetRowCount(); ++r)
    for (int c = 0; c < space.GetColCount(r); ++c)
      if (const TParamDef* def = space.GetDefs().DefAt(r, c); def && SameText(def->GetName(), name))
        return space.Slot(r, c);
  return nullptr;
}

void SetNamed(IFunction* function, const std::string& name, float value) {
  if (float* cell = NamedCell(function, name)) *cell = value;
}

// A surface as pixels a function samples.
class TSurfacePixels : public TAbstractObject, public IPixelSource {
public:
  explicit TSurfacePixels(Ref<ISurface> surface) : surface_(std::move(surface)) {}
  int GetWidth() const override { return surface_->GetWidth(); }
  int GetHeight() const override { return surface_->GetHeight(); }
  uint32_t GetPixel(int x, int y) const override {
    const uint32_t p = surface_->GetPixel(x, y);
    return surface_->GetHasAlpha() ? p : p | 0xFF000000u;
  }

protected:
  ~TSurfacePixels() override = default;

private:
  Ref<ISurface> surface_;
};

// A widget's picture: a surface widget's surface, otherwise its image.
Ref<ISurface> PictureOf(IWidget& widget) {
  if (auto* surface = dynamic_cast<TSurfaceWidget*>(&widget)) return Ref<ISurface>(surface->GetSurface());
  return widget.GetImage();
}

uint8_t Byte(float v) {
  return static_cast<uint8_t>(std::clamp(TruncSaturated<int>(std::nearbyint(v)), 0, 255));
}

}  // namespace

TFunctionParticleSystem::TFunctionParticleSystem() : space_(MakeRef<TParamSpace>()) {
  space_->Initialize();
}

TFunctionParticleSystem::~TFunctionParticleSystem() {
  if (particleFunction_) particleFunction_->Unbind();
}

const TPropertyTable<TFunctionParticleSystem>& TFunctionParticleSystem::Properties() {
  using W = TFunctionParticleSystem;
  static const TPropertyTable<W> table = TPropertyTable<W>(TParticleSystem::Properties())
                                             .Int("init_creation_count", &W::initCreationCount_)
                                             .Bool(
                                                 "static_images", [](const W& w) { return w.staticImages_; },
                                                 [](W& w, bool v) {
                                                   w.staticImages_ = v;
                                                   w.imagesTaken_ = false;
                                                   w.images_.clear();
                                                 },
                                                 true)
                                             .Enum("drawmode", kDrawKindNames, &W::drawMode_, 1)
                                             .StorageOnly()
                                             .Enum("blendingmode", kBlendModeNames, &W::blendingMode_)
                                             .StorageOnly();
  return table;
}

void TFunctionParticleSystem::LoadFromStorage(const StorageRef& storage) {
  TParticleSystem::LoadFromStorage(storage);
  if (!storage) return;
  LoadObjectFrom(*space_, storage, "paramspace", 0);
  space_->Bind(nullptr);
  if (storage->GetChildCount("function") > 0) {
    const StorageRef node = storage->GetChild("function", 0);
    particleFunction_ = CreateFunctionOfType(node);
    if (auto persistent = Query<IPersistent>(particleFunction_)) persistent->Load(node);
  }
  BindFunction();
}

void TFunctionParticleSystem::SaveToStorage(const StorageRef& storage) {
  TParticleSystem::SaveToStorage(storage);
  SaveObjectTo(*space_, storage, "paramspace");
  if (auto persistent = Query<IPersistent>(particleFunction_); persistent && storage)
    persistent->Save(storage->AddChild("function"));
}

void TFunctionParticleSystem::BindFunction() {
  create_ = update_ = nullptr;
  if (!particleFunction_) return;
  particleFunction_->Bind(this);
  if (TFunctionCollection* subs = particleFunction_->GetSubFunctions()) {
    create_ = subs->GetFunction("Create");
    update_ = subs->GetFunction("Update");
  }
  if (!create_ || !update_)
    ReportDataError("widget " + GetName(), std::string("the particle function has no \"") +
                                               (create_ ? "Update" : "Create") + "\" sub-function");
}

void TFunctionParticleSystem::SetOwner(IWidgetOwner* owner) {
  TParticleSystem::SetOwner(owner);
  imagesTaken_ = false;
  images_.clear();
}

void TFunctionParticleSystem::Detach() {
  images_.clear();
  imagesTaken_ = false;
  TParticleSystem::Detach();
}

bool TFunctionParticleSystem::SetPropertyValue(const std::string& name, const TVariant& value) {
  if (TParticleSystem::SetPropertyValue(name, value)) return true;
  float* cell = NamedCell(particleFunction_.get(), name);
  if (!cell) return false;
  *cell = static_cast<float>(VarToFloat(value));
  return true;
}

bool TFunctionParticleSystem::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  if (SameText(name, "surface")) {
    surfaceSource_ = Query<ISurface>(value);
    SetNamed(particleFunction_.get(), "surface", 1);
    return !value || surfaceSource_;
  }
  if (SameText(name, "widget")) {
    const Ref<IWidget> widget = Query<IWidget>(value);
    widgetSource_ = widget ? PictureOf(*widget) : nullptr;
    SetNamed(particleFunction_.get(), "widget", 2);
    return !value || widget;
  }
  return TParticleSystem::SetObjectProperty(name, value);
}

Ref<IPixelSource> TFunctionParticleSystem::ResolveImage(float reference) {
  const Ref<ISurface>& surface = reference == 1.0f   ? surfaceSource_
                                 : reference == 2.0f ? widgetSource_
                                                     : nullptr;
  return surface ? MakeRef<TSurfacePixels>(surface) : nullptr;
}

void TFunctionParticleSystem::CreateParticles(int n) {
  if (!create_ || n <= 0) return;
  SetNamed(create_.get(), "total_index", static_cast<float>(n));
  const int rows0 = space_->GetColCount(0), rows1 = space_->GetColCount(1);
  for (int i = 0; i < n; ++i) {
    SetNamed(create_.get(), "index", static_cast<float>(i));
    TFunctionParticle p;
    p.display.resize(static_cast<size_t>(rows0));
    p.state.resize(static_cast<size_t>(rows1));
    for (int c = 0; c < rows0; ++c) p.display[static_cast<size_t>(c)] = space_->Get(0, c);
    for (int c = 0; c < rows1; ++c) p.state[static_cast<size_t>(c)] = space_->Get(1, c);
    create_->Calculate();
    const int outputs = std::min(create_->GetOutputCount(), rows1);
    for (int k = 0; k < outputs; ++k) p.state[static_cast<size_t>(k)] = create_->GetOutput(k);
    UpdateParticle(p, 0);
    particles_.push_back(std::move(p));
  }
}

void TFunctionParticleSystem::CreateOnRequest(IParamCollection* params) {
  if (!create_) return;
  const size_t before = particles_.size();
  CreateParticles(1);
  if (particles_.size() == before || !params) return;
  // The state cells take the values named like their definitions.
  TFunctionParticle& p = particles_.back();
  for (int c = 0; c < static_cast<int>(p.state.size()); ++c) {
    const TParamDef* def = space_->GetDefs().DefAt(1, c);
    if (!def || def->GetName().empty()) continue;
    if (const Ref<IParam> param = params->GetParam(def->GetName()))
      p.state[static_cast<size_t>(c)] = static_cast<float>(VarToFloat(param->GetValue()));
  }
}

void TFunctionParticleSystem::Emit(int dt) {
  if (currentTime_ >= 0 && initCreationCount_ > 0) {
    const int n = std::min(initCreationCount_, 100000);
    initCreationCount_ = 0;
    CreateParticles(n);
  }
  if (!particleFunction_ || !create_) return;
  particleFunction_->SetInput(0, static_cast<float>(currentTime_));
  create_->Prepare();
  const float* count = NamedCell(create_.get(), "count");
  if (!count) return;
  const double due = double(*count) * dt / 1000.0 + carry_;
  if (!std::isfinite(due) || due <= 0) {
    carry_ = 0;
    return;
  }
  const double whole = std::floor(due);
  carry_ = due - whole;
  CreateParticles(static_cast<int>(std::min(whole, 100000.0)));
}

void TFunctionParticleSystem::UpdateParticle(TFunctionParticle& p, int dt) {
  if (!p.state.empty()) p.state[0] += static_cast<float>(dt);
  if (!update_) return;
  const int inputs = std::min(update_->GetInputCount(), static_cast<int>(p.state.size()));
  for (int k = 0; k < inputs; ++k) update_->SetInput(k, p.state[static_cast<size_t>(k)]);
  update_->Prepare();
  update_->Calculate();
  const int outputs = std::min(update_->GetOutputCount(), static_cast<int>(p.display.size()));
  for (int k = 0; k < outputs; ++k) p.display[static_cast<size_t>(k)] = update_->GetOutput(k);
}

void TFunctionParticleSystem::UpdateParticles(int dt) {
  for (TFunctionParticle& p : particles_) UpdateParticle(p, dt);
  std::erase_if(particles_,
                [](const TFunctionParticle& p) { return p.display.size() >= 2 && p.display[0] > 0; });
}

void TFunctionParticleSystem::CollectImages() {
  if (staticImages_ && imagesTaken_) return;
  images_.clear();
  for (int i = 0; i < widgets_->Count(); ++i)
    if (const Ref<IWidget> child = widgets_->GetWidget(i)) images_.push_back(PictureOf(*child));
  imagesTaken_ = true;
}

const ISurface* TFunctionParticleSystem::ImageAt(const TFunctionParticle& p) const {
  if (p.display.size() < 4) return nullptr;
  const int index = TruncSaturated<int>(std::nearbyint(p.display[3]));
  if (index < 0 || index >= static_cast<int>(images_.size())) return nullptr;
  return images_[static_cast<size_t>(index)].get();
}

namespace {
// The top-left corner of an image of that size centred on a point.
TPoint Centred(const TFunctionParticle& p, const ISurface& image) {
  const float cx = p.display.size() > 1 ? p.display[1] : 0.0f,
              cy = p.display.size() > 2 ? p.display[2] : 0.0f;
  return {RoundEven(cx - image.GetWidth() / 2.0), RoundEven(cy - image.GetHeight() / 2.0)};
}
float Display(const TFunctionParticle& p, size_t column, float def) {
  return column < p.display.size() ? p.display[column] : def;
}
}  // namespace

TRect TFunctionParticleSystem::ParticleBounds() {
  TRect bounds;
  bool any = false;
  if (particles_.empty()) return bounds;
  CollectImages();
  for (const TFunctionParticle& p : particles_) {
    const ISurface* image = ImageAt(p);
    if (!image) continue;
    const TPoint at = Centred(p, *image);
    UniteRect(bounds, any, TRect::FromSize(at.x, at.y, image->GetWidth(), image->GetHeight()));
  }
  if (!staticImages_) images_.clear();
  return bounds;
}

void TFunctionParticleSystem::Draw(ISurface* target, int x, int y) {
  if (!target || particles_.empty()) return;
  CollectImages();
  const auto mode = static_cast<EBlendMode>(blendingMode_);
  for (const TFunctionParticle& p : particles_) {
    const ISurface* image = ImageAt(p);
    if (!image) continue;
    const TPoint at = Centred(p, *image);
    const TRect whole{0, 0, image->GetWidth(), image->GetHeight()};
    const TRect dest = TRect::FromSize(at.x + x, at.y + y, image->GetWidth(), image->GetHeight());
    const int alpha = Byte(Display(p, 7, 255));
    if (drawMode_ == 0) {
      target->Draw(image, whole, mode, (alpha * transparentLevel_) >> 8, dest);
    } else {
      const uint32_t colour = uint32_t(alpha) << 24 | uint32_t(Byte(Display(p, 4, 255))) << 16 |
                              uint32_t(Byte(Display(p, 5, 255))) << 8 | Byte(Display(p, 6, 255));
      target->FillColor(colour, image, mode, transparentLevel_, dest, whole);
    }
  }
  if (!staticImages_) images_.clear();
}

}  // namespace qv
