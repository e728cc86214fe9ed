#pragma once

namespace input
{
// A pointer position, in window units or logical units.
struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

// A touch pointer of platforms that have them; never raised on this one.
struct PointerRecord
{
    int id = 0;
    Point position;
};
} // namespace input
