#include "Core/App/Win32/TimerLocalWin32.h"

#include "Platform/Win32/Clock.h"

namespace app
{
void TimerLocalWin32::Start()
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    mFrequency = value.QuadPart;
    QueryPerformanceCounter(&value);
    mLastCounter = value.QuadPart;
}

void TimerLocalWin32::Tick()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    mDt = static_cast<float>(static_cast<double>(now.QuadPart - mLastCounter) / static_cast<double>(mFrequency));
    mLastCounter = now.QuadPart;
}
} // namespace app
