#pragma once

// Scripted call failures for tests: the next n calls of a named method
// answer a given result without doing anything.
#include "Platform/Win32/Types.h"

namespace d3d9 {

void FailNextCalls(const char* method, int count, HRESULT result);
void ClearInjectedFailures();
// S_OK when no failure is scripted for the method, else the scripted result.
HRESULT InjectedFailure(const char* method);

// Answers a scripted failure from the calling method.
#define HV_INJECT(name)                                                                        \
    if (HRESULT injected = ::d3d9::InjectedFailure(name))                                      \
    return injected

} // namespace d3d9
