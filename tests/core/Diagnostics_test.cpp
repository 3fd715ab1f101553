#include "core/Diagnostics.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(DiagnosticsTest, CollectorHearsReportsAndRestoresThePreviousSink) {
  const int before = DataErrorCount();
  {
    TDiagnosticsCollector outer;
    ReportDataError("outer.xml", "first");
    {
      TDiagnosticsCollector inner;
      ReportDataError("inner.xml", "unknown type \"foo\"");
      ASSERT_EQ(inner.Errors().size(), 1u);
      EXPECT_EQ(inner.Errors()[0].where, "inner.xml");
      EXPECT_TRUE(inner.Has("\"foo\""));
      EXPECT_FALSE(inner.Has("first"));
    }
    // The inner collector is gone: reports reach the outer one again.
    ReportDataError("outer.xml", "second");
    ASSERT_EQ(outer.Errors().size(), 2u);
    EXPECT_EQ(outer.Errors()[1].what, "second");
  }
  // Silent again, but still counted.
  ReportDataError("nowhere", "silent");
  EXPECT_EQ(DataErrorCount(), before + 4);
}

}  // namespace
}  // namespace qv
