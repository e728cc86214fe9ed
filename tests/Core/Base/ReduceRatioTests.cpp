#include "Core/Base/ReduceRatio.h"

#include <gtest/gtest.h>

namespace
{
TEST(ReduceRatio, DividesByTheGreatestCommonDivisor)
{
    const struct
    {
        int a, b, x, y;
    } rows[] = {
        {1024, 768, 4, 3}, {1366, 768, 683, 384}, {1920, 1080, 16, 9}, {5, 0, 1, 0},
        {0, 5, 0, 1},      {0, 0, 0, 0},          {7, 7, 1, 1},        {13, 17, 13, 17},
    };
    for (const auto& r : rows)
    {
        base::ReduceRatio ratio(r.a, r.b);
        EXPECT_EQ(ratio.x, r.x) << r.a << ":" << r.b;
        EXPECT_EQ(ratio.y, r.y) << r.a << ":" << r.b;
    }
}
} // namespace
