#pragma once

// The performance counter: CLOCK_MONOTONIC in nanoseconds.
#include "Platform/Win32/Types.h"

#include <functional>

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* counter);

namespace win32::testing
{
// Replaces the counter source (nanoseconds); an empty function restores the clock.
void SetPerformanceCounterHook(std::function<LONGLONG()> counter);
} // namespace win32::testing
