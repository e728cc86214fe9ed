#pragma once

#include "Core/Input/Point.h"

namespace input
{
// Maps window positions to the application's logical coordinates.
class CoordConverter
{
public:
    virtual ~CoordConverter() = default;

    virtual void ToLogical(Point& out, const Point& windowPoint) = 0;
    virtual void ApplyOrientation(Point& out, const Point& point, int orientation) = 0;
};
} // namespace input
