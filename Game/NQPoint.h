#pragma once

#include "Game/NQParamSet.h"

#include <cstdint>

// A road point of the level file.
class NQPoint
{
public:
    int32_t mId = 0;
    float mX = 0.0f;
    float mY = 0.0f;
    NQParamSet mParams;
};
