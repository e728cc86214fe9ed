#pragma once

namespace app
{
class TimerBase
{
public:
    virtual ~TimerBase() = default;

    // Seconds between the last two ticks.
    float mDt = 0.0f;
};
} // namespace app
