#pragma once

// The event records of the five hit tests; each names its own dispatch.
namespace layer
{
struct OnMouseDown
{
    int button = 1; // 1 left, 3 right
};

struct OnMouseUp
{
    int button = 1;
};

struct OnMouseMove
{
};

struct OnMouseDrag
{
};

struct OnMouseWheel
{
    int delta = 0; // 120 a notch
};
} // namespace layer
