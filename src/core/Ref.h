// Reference-counted objects and the handle that holds them.
//
// Every engine object that is handed around through interfaces derives
// (virtually) from IInterface, which carries the one reference count of the
// object. Interfaces are abstract classes that derive virtually from
// IInterface as well, so an object implementing several interfaces still has
// exactly one count. Ref<T> is the owning handle; a plain T* is a
// non-owning back-pointer.
//
// The count is not atomic: reference-counted objects live on the main thread
// only.
//
// Objects die only through their last Ref, so reference-counted classes
// cannot be made on the stack or deleted by hand: each declares a protected
// destructor, objects are made with MakeRef, and Ref<T> refuses a type with a
// public destructor. A raw pointer becomes an owner only explicitly
// (Ref<T>(p)), and an object hands itself out through RefFromThis.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <utility>

namespace qv {

class IInterface {
public:
  IInterface() = default;
  // Copying an object never copies its count.
  IInterface(const IInterface&) noexcept {}
  IInterface& operator=(const IInterface&) noexcept { return *this; }

  void AddRef() const noexcept { ++refs_; }
  void Release() const noexcept {
    if (--refs_ == 0) delete this;
  }
  int RefCount() const noexcept { return refs_; }

protected:
  virtual ~IInterface() = default;

private:
  mutable int refs_ = 0;
};

// A class whose objects may be held by Ref: derived from IInterface and not
// destructible from outside (its destructor is protected).
template <class T>
concept RefCounted = std::is_base_of_v<IInterface, T> && !std::is_destructible_v<T>;

// A handle of U converts to a handle of T (a base or interface of U).
template <class U, class T>
concept PointerConvertibleTo = std::is_convertible_v<U*, T*>;

// Owning handle of a reference-counted object. An empty handle is valid and
// compares equal to nullptr.
template <class T>
class Ref {
public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  // Takes a new reference to *p; explicit, since a raw pointer does not own.
  explicit Ref(T* p) noexcept : p_(p) { Acquire(); }
  Ref(const Ref& o) noexcept : p_(o.p_) { Acquire(); }
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <PointerConvertibleTo<T> U>
  Ref(const Ref<U>& o) noexcept : p_(o.get()) {
    Acquire();
  }
  template <PointerConvertibleTo<T> U>
  Ref(Ref<U>&& o) noexcept : p_(o.detach()) {}
  ~Ref() {
    static_assert(RefCounted<T>, "a reference-counted class declares a protected destructor");
    Drop();
  }

  Ref& operator=(const Ref& o) noexcept {
    if (this != &o) Ref(o).swap(*this);
    return *this;
  }
  Ref& operator=(Ref&& o) noexcept {
    Ref(std::move(o)).swap(*this);
    return *this;
  }
  Ref& operator=(std::nullptr_t) noexcept {
    reset();
    return *this;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  void reset() noexcept { Ref().swap(*this); }
  void swap(Ref& o) noexcept { std::swap(p_, o.p_); }
  // Gives up ownership without releasing; the caller takes the reference.
  T* detach() noexcept { return std::exchange(p_, nullptr); }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
  void Acquire() const noexcept {
    if (p_) static_cast<const IInterface*>(p_)->AddRef();
  }
  void Drop() noexcept {
    if (p_) static_cast<const IInterface*>(std::exchange(p_, nullptr))->Release();
  }

  T* p_ = nullptr;
};

// Creates a new object and returns the first reference to it. The only way
// to make a reference-counted object.
template <RefCounted T, class... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

// A new reference to an object from inside one of its own operations. The
// object must already be owned by a Ref: a constructor that handed itself out
// would be destroyed when that handle dropped, so this stops the program
// instead.
template <class T>
Ref<T> RefFromThis(T* self) noexcept {
  if (self == nullptr || static_cast<const IInterface*>(self)->RefCount() <= 0) {
    std::fputs("RefFromThis: the object is not owned by a Ref yet\n", stderr);
    std::abort();
  }
  return Ref<T>(self);
}

// "Does the object support interface I?": a checked cast that keeps the
// object alive through the new handle. Empty when it does not.
template <class I, class T>
Ref<I> Query(const Ref<T>& p) {
  return Ref<I>(dynamic_cast<I*>(p.get()));
}
template <class I, class T>
I* QueryPtr(T* p) {
  return dynamic_cast<I*>(p);
}

}  // namespace qv
