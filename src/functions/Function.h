// Function objects: small calculations wired together like a data-flow
// graph. Each function owns a parameter space whose row 0 holds its outputs
// and whose other rows hold its inputs; cells link into the owner's space,
// so calculating writes straight into the owner's values.
//
// Life: created and loaded from data, bound to an owner (cells linked),
// prepared and calculated as often as the owner needs, unbound.
#pragma once

#include <cstdint>
#include <string>

#include "functions/ParamSpace.h"
#include "storage/Collections.h"

namespace qv {

// Pixels a Monte-Carlo function can sample (B,G,R,A bytes of 0xAARRGGBB).
class IPixelSource : public virtual IInterface {
protected:
  ~IPixelSource() override = default;

public:
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual uint32_t GetPixel(int x, int y) const = 0;
};

// Whatever owns functions: offers its parameter space for linking.
class IFunctionOwner {
public:
  virtual IParamSpace* GetOwnerParamSpace() = 0;
  // The image an image-reference cell names; nullptr when unknown. Owners
  // that hand images to their functions answer it.
  virtual Ref<IPixelSource> ResolveImage(float reference) {
    (void)reference;
    return nullptr;
  }

protected:
  ~IFunctionOwner() = default;
};

class TFunctionCollection;

class IFunction : public virtual IInterface {
protected:
  ~IFunction() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual void Bind(IFunctionOwner* owner) = 0;
  virtual void Unbind() = 0;
  virtual void Prepare() = 0;
  virtual TParamSpace& GetParamSpace() = 0;
  virtual int GetInputCount() const = 0;
  virtual int GetOutputCount() const = 0;
  virtual void SetInput(int index, float value) = 0;
  virtual void SetOutput(int index, float value) = 0;
  virtual float GetOutput(int index) const = 0;
  // The value of the cell of the index-th definition (0 without a cell).
  virtual float GetDefValue(int index) const = 0;
  virtual float GetCell(int col, int row) const = 0;
  virtual std::string GetDefName(int row, int col) const = 0;
  // The definition's out name, or its name when it has none.
  virtual std::string GetDefOutName(int row, int col) const = 0;
  virtual void Calculate() = 0;
  // The sub-functions, or nullptr for simple functions.
  virtual TFunctionCollection* GetSubFunctions() = 0;
};

class TFunction : public TPersistObject, public virtual IFunction, public IFunctionOwner {
protected:
  ~TFunction() override = default;

public:
  TFunction() { SetStorageName("function"); }

  virtual void RunBefore();
  // Runs between the before and after functions; empty here.
  virtual void PrepareHook() {}
  virtual void RunAfter();

  // IFunction
  const std::string& GetName() const override { return TPersistObject::GetName(); }
  void SetName(const std::string& name) override { TPersistObject::SetName(name); }
  void Bind(IFunctionOwner* owner) override;
  void Unbind() override;
  void Prepare() override;
  TParamSpace& GetParamSpace() override { return *space_; }
  int GetInputCount() const override { return space_->GetColCount(1); }
  int GetOutputCount() const override { return space_->GetColCount(0); }
  void SetInput(int index, float value) override { space_->Set(1, index, value); }
  void SetOutput(int index, float value) override { space_->Set(0, index, value); }
  float GetOutput(int index) const override { return space_->Get(0, index); }
  float GetDefValue(int index) const override;
  float GetCell(int col, int row) const override { return space_->Get(row, col); }
  std::string GetDefName(int row, int col) const override;
  std::string GetDefOutName(int row, int col) const override;
  void Calculate() override {}
  TFunctionCollection* GetSubFunctions() override { return nullptr; }

  // IFunctionOwner: sub-functions and the preparation function link here.
  IParamSpace* GetOwnerParamSpace() override { return space_.get(); }
  Ref<IPixelSource> ResolveImage(float reference) override {
    return owner_ ? owner_->ResolveImage(reference) : nullptr;
  }

  IFunctionOwner* GetOwner() const { return owner_; }
  IFunction* GetPreparationFunction() const { return preparation_.get(); }
  void SetPreparationFunction(const Ref<IFunction>& f) { preparation_ = f; }
  IFunction* GetBeforeFunction() const { return before_.get(); }
  IFunction* GetAfterFunction() const { return after_.get(); }

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

protected:
  // Cell access for the kinds: rows and columns outside the matrix read 0.
  int Rows() const { return space_->GetRowCount(); }
  int Cols(int row) const { return space_->GetColCount(row); }
  float C(int row, int col) const { return space_->Get(row, col); }
  void Out(int index, float value) const { space_->Set(0, index, value); }

private:
  IFunctionOwner* owner_ = nullptr;
  Ref<TParamSpace> space_ = MakeRef<TParamSpace>();
  Ref<IFunction> preparation_;
  Ref<IFunction> before_;
  Ref<IFunction> after_;
};

// Functions created by their "type" attribute, keyed by name.
class TFunctionCollection : public TTypedCreationPersistItemCollection {
protected:
  ~TFunctionCollection() override = default;

public:
  TFunctionCollection() {
    SetStorageName("functions");
    SetItemElementName("function");
  }
  Ref<IFunction> GetFunction(int index) const { return ItemAs<IFunction>(index); }
  Ref<IFunction> GetFunction(std::string_view name) const { return ItemAs<IFunction>(name); }
  // Only function kinds; anything else is reported and left out.
  Ref<IInterface> CreateItem(const StorageRef& storage) override;
  // Unnamed or equally named functions get generated keys.
  void AddItem(const Ref<IInterface>& item) override {
    if (AddNamed(item) < 0) Insert(-1, std::nullopt, item);
  }
};

// "function_complex": calculates its sub-functions in order.
class TComplexFunction : public TFunction {
protected:
  ~TComplexFunction() override = default;

public:
  void Bind(IFunctionOwner* owner) override;
  void Unbind() override;
  void RunBefore() override;
  void Calculate() override;
  TFunctionCollection* GetSubFunctions() override { return functions_.get(); }

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

protected:
  // Calculates the sub-function at that index when there is one.
  void CalculateAt(int index);

private:
  Ref<TFunctionCollection> functions_ = MakeRef<TFunctionCollection>();
};

// Base of the selectors: calculates one sub-function chosen by index.
class TSelectorFunction : public TComplexFunction {
protected:
  ~TSelectorFunction() override = default;
};

// "function_selector", "function_selector_func": sub-function 0 computes
// the index (its output 0) of the sub-function to calculate.
class TFuncSelectorFunction : public TSelectorFunction {
protected:
  ~TFuncSelectorFunction() override = default;

public:
  void Calculate() override;
};

// "function_selector_const": the index is the cell at row 2, column 0.
class TConstSelectorFunction : public TSelectorFunction {
protected:
  ~TConstSelectorFunction() override = default;

public:
  void Calculate() override;
};

}  // namespace qv
