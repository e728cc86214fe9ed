#pragma once

// Logical units to window pixels: the inverse of the application's
// ToLogical (logical = scale * (window + offset)).
namespace playthrough
{
struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

struct DisplayMapping
{
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
};

Point ToWindow(const DisplayMapping& mapping, const Point& logical);
} // namespace playthrough
