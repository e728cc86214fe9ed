#pragma once

#include "Core/App/TimerBase.h"

#include <cstdint>

namespace app
{
// The frame timer over the performance counter. dt is raw: no smoothing,
// no bounds, no frame limiter.
class TimerLocalWin32 : public TimerBase
{
public:
    void Start();
    void Tick();

    int64_t mFrequency = 0;
    int64_t mLastCounter = 0;
};
} // namespace app
