#pragma once

#include <cstdint>

// One enemy of a wave: which unit, when (x seconds) and where in the queue (y).
class NQWaveEntry
{
public:
    int32_t mState = -1;
    int32_t mId = 0;
    int32_t mUpgrade = 0;
    float mX = 0.0f;
    float mY = 0.0f;
    bool mSpawned = false;
};
