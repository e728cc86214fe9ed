#pragma once

// Keeps presents one display refresh apart where the driver's swap does not
// wait for the display itself (software rasterisers, virtual displays), so
// that a frame loop that never waits still leaves the processor alone.
#include <chrono>
#include <functional>

namespace d3d9 {

class PresentPacer
{
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;
    using SleepUntil = std::function<void(Clock::time_point)>;

    // The real clock and a sleep to the exact moment.
    PresentPacer();
    PresentPacer(Now now, SleepUntil sleepUntil);

    // Zero: presents go at once.
    void SetPeriod(Clock::duration period);
    Clock::duration Period() const { return period_; }
    // Before a swap: waits out the rest of the period since the last one.
    void Wait();

private:
    Now now_;
    SleepUntil sleepUntil_;
    Clock::duration period_{};
    Clock::time_point deadline_{};
    bool started_ = false;
};

// The refresh period of a display that reports `hertz` (60 when unknown).
PresentPacer::Clock::duration RefreshPeriod(int hertz);

} // namespace d3d9
