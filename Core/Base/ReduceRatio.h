#pragma once

namespace base
{
// A ratio a:b reduced by the greatest common divisor (Euclid), e.g. 1366:768
// becomes 683:384. (0, 0) stays (0, 0), as it has no divisor.
struct ReduceRatio
{
    ReduceRatio(int a, int b);

    int x = 0;
    int y = 0;
};
} // namespace base
