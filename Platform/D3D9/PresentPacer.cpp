#include "Platform/D3D9/PresentPacer.h"

#include <cerrno>
#include <ctime>

namespace d3d9 {

namespace {

constexpr int kUnknownRefreshHertz = 60;

void SleepUntilMonotonic(PresentPacer::Clock::time_point moment)
{
    // steady_clock is CLOCK_MONOTONIC: an absolute sleep wakes at the moment
    // itself, however often a signal interrupts it.
    const auto since = moment.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    timespec at{};
    at.tv_sec = time_t(seconds.count());
    at.tv_nsec = long(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR)
    {
    }
}

} // namespace

PresentPacer::PresentPacer() : PresentPacer([] { return Clock::now(); }, SleepUntilMonotonic) {}

PresentPacer::PresentPacer(Now now, SleepUntil sleepUntil)
    : now_(std::move(now)), sleepUntil_(std::move(sleepUntil))
{
}

void PresentPacer::SetPeriod(Clock::duration period)
{
    period_ = period;
    started_ = false;
}

void PresentPacer::Wait()
{
    if (period_ <= Clock::duration::zero())
        return;
    const Clock::time_point now = now_();
    // The first present, or one a whole period late: the rhythm starts anew
    // from now instead of rushing the next frames to catch up.
    if (!started_ || now >= deadline_ + period_)
    {
        started_ = true;
        deadline_ = now + period_;
        return;
    }
    if (now < deadline_)
        sleepUntil_(deadline_);
    deadline_ += period_;
}

PresentPacer::Clock::duration RefreshPeriod(int hertz)
{
    if (hertz <= 0)
        hertz = kUnknownRefreshHertz;
    return std::chrono::duration_cast<PresentPacer::Clock::duration>(std::chrono::nanoseconds(1'000'000'000LL / hertz));
}

} // namespace d3d9
