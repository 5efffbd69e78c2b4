#include <gtest/gtest.h>

#include "platform/number_text.h"

namespace at {
TEST(NumberText, Smoke) { EXPECT_EQ(formatDouble(152.4, NumberLocale::comma()), "152,4"); }
}  // namespace at
