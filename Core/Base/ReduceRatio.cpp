#include "Core/Base/ReduceRatio.h"

namespace base
{
ReduceRatio::ReduceRatio(int a, int b)
{
    int c = b;
    int d = a;
    while (c != 0)
    {
        const int r = d % c;
        d = c;
        c = r;
    }
    if (d == 0)
        return; // a and b both 0
    x = a / d;
    y = b / d;
}
} // namespace base
