#pragma once

#include <cstdint>
#include <string>

class NQEffect;

// An ambient effect placed by the level picture: played first after its
// first delay, then (unless single) again after each next delay.
class NQFxAnchor
{
public:
    std::string mEffectName;
    float mX = 0.0f;
    float mY = 0.0f;
    // Plays once; also plays its effect looping.
    uint8_t mSingle = 0;
    float mFirstDelay = 0.0f;
    // Upper bound of the pause between later plays.
    float mPeriod = 0.0f;
    float mNextDelay = 0.0f;
    float mClock = 0.0f;
    uint8_t mStarted = 0;
    // The effect last started; not owned (the effect lists own it).
    NQEffect* mEffect = nullptr;
};
