#pragma once

// CRITICAL_SECTION over a recursive mutex: re-entrant for its owner thread,
// and usable from static objects built before main (no other static needed).
#include <mutex>
#include <new>

struct CRITICAL_SECTION
{
    alignas(std::recursive_mutex) unsigned char storage[sizeof(std::recursive_mutex)];
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
