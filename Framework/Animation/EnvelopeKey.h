#pragma once

// One key of an envelope, as the 36 bytes of the file hold it.
#include <cstdint>

namespace base
{
class Stream;
}

namespace animation
{
enum KeyShape : int32_t
{
    kShapeTCB = 0,
    kShapeHermite = 1,
    kShapeBezier = 2,
    kShapeLinear = 3,
    kShapeStepped = 4,
    kShapeBezier2D = 5,
};

struct EnvelopeKey
{
    static constexpr uint32_t kFileSize = 36;

    float value = 0;
    float time = 0;
    int32_t shape = kShapeTCB;
    // TCB: tension, continuity, bias; Hermite and Bezier: incoming and
    // outgoing tangent; 2D Bezier: incoming and outgoing handle (time, value).
    float p0 = 0, p1 = 0, p2 = 0, p3 = 0;
    uint32_t unused[2] = {0, 0};

    // False on a short read.
    bool Read(base::Stream& stream);
};
} // namespace animation
