#include "core/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {
namespace {

TEST(VariantTest, TextOfEachKind) {
  EXPECT_EQ(VarToString(TVariant()), "");
  EXPECT_EQ(VarToString(TVariant(true)), "yes");
  EXPECT_EQ(VarToString(TVariant(false)), "no");
  EXPECT_EQ(VarToString(TVariant(-42LL)), "-42");
  EXPECT_EQ(VarToString(TVariant(0.5)), "0.5");
  EXPECT_EQ(VarToString(TVariant(1.0 / 3.0)), "0.333333333333333");
  EXPECT_EQ(VarToString(TVariant(1e20)), "1e+20");
  EXPECT_EQ(VarToString(TVariant(std::string("caf\xC3\xA9"))), "caf\xC3\xA9");
  EXPECT_TRUE(VarIsEmpty(TVariant()));
  EXPECT_FALSE(VarIsEmpty(TVariant(std::string())));
}

TEST(VariantTest, IntegersFromEveryKind) {
  EXPECT_EQ(VarToInt(TVariant(), 7), 7);
  EXPECT_EQ(VarToInt(TVariant(true)), 1);
  EXPECT_EQ(VarToInt(TVariant(12LL)), 12);
  EXPECT_EQ(VarToInt(TVariant(2.5)), 3);
  EXPECT_EQ(VarToInt(TVariant(-2.5)), -3);
  EXPECT_EQ(VarToInt(TVariant(2.4)), 2);
  // Reals that no integer holds give the default, never garbage.
  EXPECT_EQ(VarToInt(TVariant(1e30), 5), 5);
  EXPECT_EQ(VarToInt(TVariant(-1e30), 5), 5);
  EXPECT_EQ(VarToInt(TVariant(std::nan("")), 5), 5);
  EXPECT_EQ(VarToInt(TVariant(std::numeric_limits<double>::infinity()), 5), 5);
  // Text as the data write it.
  EXPECT_EQ(VarToInt(TVariant(std::string("80"))), 80);
  EXPECT_EQ(VarToInt(TVariant(std::string(" 80 "))), 80);
  EXPECT_EQ(VarToInt(TVariant(std::string("$FF"))), 255);
  EXPECT_EQ(VarToInt(TVariant(std::string("50.0"))), 50);
  EXPECT_EQ(VarToInt(TVariant(std::string("-0.6"))), -1);
  EXPECT_EQ(VarToInt(TVariant(std::string("loud")), 9), 9);
  EXPECT_EQ(VarToInt(TVariant(std::string("")), 9), 9);
}

TEST(VariantTest, RealsAndBooleans) {
  EXPECT_DOUBLE_EQ(VarToFloat(TVariant(std::string("0.25"))), 0.25);
  EXPECT_DOUBLE_EQ(VarToFloat(TVariant(std::string("x")), 1.5), 1.5);
  EXPECT_DOUBLE_EQ(VarToFloat(TVariant(3LL)), 3.0);
  EXPECT_DOUBLE_EQ(VarToFloat(TVariant(false), 9), 0.0);
  EXPECT_DOUBLE_EQ(VarToFloat(TVariant(), 9), 9.0);
  EXPECT_TRUE(VarToBool(TVariant(std::string("yes"))));
  EXPECT_FALSE(VarToBool(TVariant(std::string("no")), true));
  // Exactly "yes" and "no", as the typed readers.
  EXPECT_TRUE(VarToBool(TVariant(std::string("Yes")), true));
  EXPECT_FALSE(VarToBool(TVariant(std::string("true")), false));
  EXPECT_TRUE(VarToBool(TVariant(2LL)));
  EXPECT_FALSE(VarToBool(TVariant(0.0), true));
  EXPECT_TRUE(VarToBool(TVariant(), true));
}

}  // namespace
}  // namespace qv
