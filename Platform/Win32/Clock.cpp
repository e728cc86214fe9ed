#include "Platform/Win32/Clock.h"

#include <ctime>

namespace
{
std::function<LONGLONG()>& CounterHook()
{
    static std::function<LONGLONG()> hook;
    return hook;
}
} // namespace

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    frequency->QuadPart = 1000000000;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* counter)
{
    if (CounterHook())
    {
        counter->QuadPart = CounterHook()();
        return TRUE;
    }
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    counter->QuadPart = static_cast<LONGLONG>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    return TRUE;
}

namespace win32::testing
{
void SetPerformanceCounterHook(std::function<LONGLONG()> counter)
{
    CounterHook() = std::move(counter);
}
} // namespace win32::testing
