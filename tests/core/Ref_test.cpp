#include "core/Ref.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace qv {
namespace {

class IA : public virtual IInterface {
public:
  virtual int A() const = 0;

protected:
  ~IA() override = default;
};
class IB : public virtual IInterface {
public:
  virtual int B() const = 0;

protected:
  ~IB() override = default;
};

// An object with two interfaces and one count, reporting its death.
class TBoth final : public IA, public IB {
public:
  explicit TBoth(int* deaths) : deaths_(deaths) {}
  int A() const override { return 1; }
  int B() const override { return 2; }
  // A second owner made from inside the object.
  Ref<IB> Self() { return RefFromThis<IB>(this); }

protected:
  ~TBoth() override { ++*deaths_; }

private:
  int* deaths_;
};

// A class that forgot its protected destructor.
class TPublicDeath : public IA {
public:
  int A() const override { return 0; }
  ~TPublicDeath() override = default;
};

template <class T>
concept CanMakeRef = requires {
  MakeRef<T>();
};
template <class T>
concept CanDelete = requires(T* p) {
  delete p;
};
template <class T>
concept CanMakeOnTheStack = requires {
  T{};
};

// Compile-time rules. A raw pointer never becomes an owner implicitly ...
static_assert(!std::is_convertible_v<TBoth*, Ref<TBoth>>);
static_assert(!std::is_convertible_v<IA*, Ref<IA>>);
// ... only when written out.
static_assert(std::is_constructible_v<Ref<TBoth>, TBoth*>);
// Empty handles and upcasts stay implicit; unrelated interfaces do not convert.
static_assert(std::is_convertible_v<std::nullptr_t, Ref<IA>>);
static_assert(std::is_convertible_v<Ref<TBoth>, Ref<IA>>);
static_assert(std::is_convertible_v<Ref<TBoth>&&, Ref<IB>>);
static_assert(!std::is_convertible_v<Ref<IA>, Ref<IB>>);
static_assert(!std::is_constructible_v<Ref<IA>, Ref<IB>>);
static_assert(!std::is_convertible_v<Ref<IA>, Ref<TBoth>>);
// Neither objects nor interfaces can be destroyed from outside: no stack
// objects, no copies by value, no delete.
static_assert(!std::is_destructible_v<TBoth>);
static_assert(!std::is_destructible_v<IA>);
static_assert(!std::is_destructible_v<IInterface>);
static_assert(!CanDelete<TBoth>);
static_assert(!CanDelete<IA>);
static_assert(!CanDelete<IInterface>);
// MakeRef makes only classes with a protected destructor.
static_assert(CanMakeRef<TBoth>);
static_assert(!CanMakeRef<TPublicDeath>);
static_assert(CanMakeOnTheStack<TPublicDeath> && CanDelete<TPublicDeath>);
static_assert(RefCounted<TBoth> && RefCounted<IA>);
static_assert(!RefCounted<TPublicDeath> && !RefCounted<int>);

TEST(RefTest, OneCountAcrossInterfacesAndDeathWithTheLastReference) {
  int deaths = 0;
  Ref<IA> a = MakeRef<TBoth>(&deaths);
  Ref<IB> b = Query<IB>(a);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->B(), 2);
  EXPECT_EQ(a->RefCount(), 2);
  a = nullptr;
  EXPECT_EQ(deaths, 0);
  Ref<IB> moved = std::move(b);
  EXPECT_FALSE(b);  // NOLINT(bugprone-use-after-move): a moved-from handle is empty
  EXPECT_EQ(moved->RefCount(), 1);
  moved.reset();
  EXPECT_EQ(deaths, 1);
}

TEST(RefTest, QueryOfAnUnsupportedInterfaceIsEmpty) {
  class TOnlyA final : public IA {
  public:
    int A() const override { return 3; }

  protected:
    ~TOnlyA() override = default;
  };
  Ref<IA> a = MakeRef<TOnlyA>();
  EXPECT_FALSE(Query<IB>(a));
  EXPECT_FALSE(Query<IB>(Ref<IA>()));
  EXPECT_EQ(a->RefCount(), 1);
}

// Assignments between handles: self-assignment, assigning a handle of the
// same object, moving onto a live handle. Each object dies exactly once.
TEST(RefTest, AssignmentsKeepTheCountExact) {
  int deaths = 0;
  Ref<TBoth> a = MakeRef<TBoth>(&deaths);
  Ref<TBoth>& alias = a;
  a = alias;
  EXPECT_EQ(a->RefCount(), 1);
  a = std::move(alias);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->RefCount(), 1);

  Ref<TBoth> same = a;
  a = same;
  EXPECT_EQ(a->RefCount(), 2);

  int otherDeaths = 0;
  Ref<TBoth> other = MakeRef<TBoth>(&otherDeaths);
  other = std::move(same);  // the other object loses its only owner
  EXPECT_EQ(otherDeaths, 1);
  EXPECT_EQ(a->RefCount(), 2);
  EXPECT_FALSE(same);  // NOLINT(bugprone-use-after-move)

  Ref<IA> upcast = std::move(other);
  EXPECT_FALSE(other);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(a->RefCount(), 2);
  upcast = nullptr;
  a.reset();
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(otherDeaths, 1);
}

// An explicit Ref<T>(p) adds an owner of an object that has one; detach
// hands the reference to a raw pointer and Ref<T>(p) plus one Release takes
// it back.
TEST(RefTest, ExplicitAdoptionAndDetach) {
  int deaths = 0;
  Ref<TBoth> first = MakeRef<TBoth>(&deaths);
  TBoth* raw = first.get();
  {
    Ref<IA> second(static_cast<IA*>(raw));
    EXPECT_EQ(raw->RefCount(), 2);
  }
  EXPECT_EQ(raw->RefCount(), 1);
  TBoth* taken = first.detach();
  EXPECT_FALSE(first);
  EXPECT_EQ(taken->RefCount(), 1);
  EXPECT_EQ(deaths, 0);
  Ref<TBoth> back(taken);
  taken->Release();
  EXPECT_EQ(back->RefCount(), 1);
  back = nullptr;
  EXPECT_EQ(deaths, 1);
}

// Copying an object copies none of its count: the copy starts with its
// own first owner.
TEST(RefTest, CopiedObjectsStartWithTheirOwnCount) {
  class TValue final : public IA {
  public:
    explicit TValue(int v) : v_(v) {}
    TValue(const TValue&) = default;
    int A() const override { return v_; }

  protected:
    ~TValue() override = default;

  private:
    int v_;
  };
  Ref<TValue> original = MakeRef<TValue>(7);
  const Ref<IA> second = original;  // a count of 2 that the copy must not take over
  Ref<TValue> copy = MakeRef<TValue>(*original);
  EXPECT_EQ(copy->A(), 7);
  EXPECT_EQ(copy->RefCount(), 1);
  EXPECT_EQ(original->RefCount(), 2);
}

TEST(RefTest, AnOwnedObjectHandsItselfOut) {
  int deaths = 0;
  Ref<TBoth> owner = MakeRef<TBoth>(&deaths);
  Ref<IB> self = owner->Self();
  EXPECT_EQ(self->B(), 2);
  EXPECT_EQ(owner->RefCount(), 2);
  owner = nullptr;
  EXPECT_EQ(deaths, 0);
  self = nullptr;
  EXPECT_EQ(deaths, 1);
}

// A constructor that hands itself out would be destroyed by the first
// handle that drops, and its creator would hold a dead object: the helper
// stops the program instead.
class TEagerSelf final : public IA {
public:
  explicit TEagerSelf(Ref<IA>* out) { *out = RefFromThis<IA>(this); }
  int A() const override { return 4; }

protected:
  ~TEagerSelf() override = default;
};

TEST(RefDeathTest, AConstructorCannotHandItselfOut) {
  EXPECT_DEATH(
      {
        Ref<IA> leaked;
        Ref<TEagerSelf> made = MakeRef<TEagerSelf>(&leaked);
      },
      "not owned by a Ref yet");
}

TEST(RefDeathTest, RefFromThisOfNullStops) {
  EXPECT_DEATH(RefFromThis<IA>(static_cast<IA*>(nullptr)), "not owned by a Ref yet");
}

}  // namespace
}  // namespace qv
