#pragma once

#include "Platform/Win32/Locks.h"

namespace app
{
// One Win32 critical section; re-entrant for the thread that holds it.
class CriticalSectionWin32
{
public:
    CriticalSectionWin32();
    ~CriticalSectionWin32();
    CriticalSectionWin32(const CriticalSectionWin32&) = delete;
    CriticalSectionWin32& operator=(const CriticalSectionWin32&) = delete;

    virtual void Lock();
    virtual void Unlock();

private:
    CRITICAL_SECTION mSection;
};
} // namespace app
