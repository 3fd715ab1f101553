#include "core/Ref.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

class IA : public virtual IInterface {
public:
  virtual int A() const = 0;
};
class IB : public virtual IInterface {
public:
  virtual int B() const = 0;
};

// An object with two interfaces and one count, reporting its death.
class TBoth final : public IA, public IB {
public:
  explicit TBoth(bool* died) : died_(died) {}
  ~TBoth() override { *died_ = true; }
  int A() const override { return 1; }
  int B() const override { return 2; }

private:
  bool* died_;
};

TEST(RefTest, OneCountAcrossInterfacesAndDeathWithTheLastReference) {
  bool died = false;
  Ref<IA> a = MakeRef<TBoth>(&died);
  Ref<IB> b = Query<IB>(a);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->B(), 2);
  EXPECT_EQ(a->RefCount(), 2);
  a = nullptr;
  EXPECT_FALSE(died);
  Ref<IB> moved = std::move(b);
  EXPECT_FALSE(b);
  moved.reset();
  EXPECT_TRUE(died);
}

TEST(RefTest, QueryOfAnUnsupportedInterfaceIsEmpty) {
  class TOnlyA final : public IA {
  public:
    int A() const override { return 3; }
  };
  Ref<IA> a = MakeRef<TOnlyA>();
  EXPECT_FALSE(Query<IB>(a));
  EXPECT_FALSE(Query<IB>(Ref<IA>()));
  EXPECT_EQ(a->RefCount(), 1);
}

}  // namespace
}  // namespace qv
