// Font symbols whose atlas rectangles come from hostile data.
#include "resources/FontResource.h"

#include <gtest/gtest.h>

#include "storage/XMLStorage.h"

namespace qv {
namespace {

Ref<TSymbol> LoadSymbol(const std::string& xml) {
  auto symbol = MakeRef<TSymbol>();
  symbol->Initialize();
  symbol->Load(LoadStorageText(xml));
  return symbol;
}

TEST(FontSymbol, RectangleAtTheEdgeOfTheIntRangeIsClampedToTheAtlasRange) {
  // left + width would overflow a 32-bit int: the values are clamped to
  // -65536..65536 (sizes to 0 and more) before the rectangle is built.
  const Ref<TSymbol> s =
      LoadSymbol(R"(<symbol scancode="65" left="2147483647" top="2147483640" width="10" height="100"/>)");
  EXPECT_EQ(s->GetCode(), 65);
  EXPECT_EQ(s->GetRect(), (TRect{65536, 65536, 65546, 65636}));
  EXPECT_EQ(s->GetWidth(), 10);
  EXPECT_EQ(s->GetHeight(), 100);
  const Ref<TSymbol> low =
      LoadSymbol(R"(<symbol scancode="66" left="-2147483648" top="0" width="-5" height="3"/>)");
  EXPECT_EQ(low->GetRect(), (TRect{-65536, 0, -65536, 3}));
  // Ordinary symbols are untouched.
  EXPECT_EQ(LoadSymbol(R"(<symbol scancode="67" left="5" top="1" width="6" height="11"/>)")->GetRect(),
            (TRect{5, 1, 11, 12}));
}

}  // namespace
}  // namespace qv
