#pragma once

// An animation that can be applied at a moment of its time line.
#include "Core/Base/Result.h"

namespace animation
{
class Anim
{
public:
    virtual ~Anim() = default;
    virtual HVResultEnum Apply(float time) = 0;
};
} // namespace animation
