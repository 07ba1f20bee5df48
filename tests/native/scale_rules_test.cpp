#include "toolkit/scale_rules.h"

#include <gtest/gtest.h>

TEST(Scale, TheFactorIsTheDpiOver96RoundedAndNeverBelowOne) {
    const struct {
        int dpi;
        int factor;
    } cases[] = {{0, 1},   {72, 1},  {96, 1},  {120, 1}, {143, 1}, {144, 2},
                 {168, 2}, {192, 2}, {239, 2}, {240, 3}, {288, 3}, {384, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(Scale::ForDpi(c.dpi).Factor(), c.factor) << c.dpi << " DPI";
    }
}
