#include "functions/Function.h"

#include <cmath>

#include "functions/FloatToInt.h"
#include "functions/FunctionsTypes.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {
int TruncIndex(float v) {
  return std::isnan(v) ? -1 : TruncSaturated<int>(v);
}
}  // namespace

void TFunction::Bind(IFunctionOwner* owner) {
  owner_ = owner;
  space_->Bind(owner ? owner->GetOwnerParamSpace() : nullptr);
  before_ = nullptr;
  after_ = nullptr;
  if (!preparation_) return;
  preparation_->Bind(this);
  if (TFunctionCollection* subs = preparation_->GetSubFunctions()) {
    before_ = subs->GetFunction("before");
    after_ = subs->GetFunction("after");
  }
  if (!before_ && !after_) before_ = preparation_;
}

void TFunction::Unbind() {
  if (preparation_) preparation_->Unbind();
  space_->Unbind();
  before_ = nullptr;
  after_ = nullptr;
  owner_ = nullptr;
}

void TFunction::RunBefore() {
  if (before_) before_->Calculate();
}

void TFunction::RunAfter() {
  if (after_) after_->Calculate();
}

void TFunction::Prepare() {
  RunBefore();
  PrepareHook();
  RunAfter();
}

float TFunction::GetDefValue(int index) const {
  auto def = Query<TParamDef>(space_->GetDefs().Item(index));
  return def ? space_->Get(def->GetRow(), def->GetCol()) : 0.0f;
}

std::string TFunction::GetDefName(int row, int col) const {
  const TParamDef* def = space_->GetDefs().DefAt(row, col);
  return def ? def->GetName() : std::string();
}

std::string TFunction::GetDefOutName(int row, int col) const {
  const TParamDef* def = space_->GetDefs().DefAt(row, col);
  if (!def) return {};
  return def->GetOutName().empty() ? def->GetName() : def->GetOutName();
}

void TFunction::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  LoadObjectFrom(*space_, storage, "paramspace", 0);
  if (storage && storage->GetChildCount("preparation_function") > 0) {
    const StorageRef node = storage->GetChild("preparation_function", 0);
    preparation_ = CreateFunctionOfType(node);
    if (auto persistent = Query<IPersistent>(preparation_)) persistent->Load(node);
  }
}

void TFunction::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  SaveObjectTo(*space_, storage, "paramspace");
  if (auto persistent = Query<IPersistent>(preparation_); persistent && storage)
    persistent->Save(storage->AddChild("preparation_function"));
}

Ref<IInterface> TFunctionCollection::CreateItem(const StorageRef& storage) {
  return CreateFunctionOfType(storage);
}

// --- complex functions ---------------------------------------------------------

void TComplexFunction::Bind(IFunctionOwner* owner) {
  TFunction::Bind(owner);
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Bind(this);
}

void TComplexFunction::Unbind() {
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Unbind();
  TFunction::Unbind();
}

void TComplexFunction::RunBefore() {
  TFunction::RunBefore();
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Prepare();
}

void TComplexFunction::Calculate() {
  for (int i = 0; i < functions_->Count(); ++i)
    if (auto f = functions_->GetFunction(i)) f->Calculate();
}

void TComplexFunction::CalculateAt(int index) {
  if (index < 0 || index >= functions_->Count()) return;
  if (auto f = functions_->GetFunction(index)) f->Calculate();
}

void TComplexFunction::LoadFromStorage(const StorageRef& storage) {
  TFunction::LoadFromStorage(storage);
  LoadObjectFrom(*functions_, storage, "functions", 0);
}

void TComplexFunction::SaveToStorage(const StorageRef& storage) {
  TFunction::SaveToStorage(storage);
  SaveObjectTo(*functions_, storage, "functions");
}

void TFuncSelectorFunction::Calculate() {
  TFunctionCollection* subs = GetSubFunctions();
  if (subs->Count() == 0) return;
  auto selector = subs->GetFunction(0);
  if (!selector) return;
  selector->Calculate();
  if (selector->GetOutputCount() >= 1) CalculateAt(TruncIndex(selector->GetOutput(0)));
}

void TConstSelectorFunction::Calculate() {
  CalculateAt(TruncIndex(C(2, 0)));
}

}  // namespace qv
