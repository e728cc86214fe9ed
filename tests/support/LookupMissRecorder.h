#pragma once

// Records the content lookups that found nothing, while it lives.
#include "Core/Base/LookupMiss.h"

#include <string>
#include <utility>
#include <vector>

namespace hvtest
{
using LookupMisses = std::vector<std::pair<base::LookupMissKind, std::wstring>>;

// The observer is process-wide: one recorder at a time.
class LookupMissRecorder
{
public:
    LookupMissRecorder();
    ~LookupMissRecorder();
    LookupMissRecorder(const LookupMissRecorder&) = delete;
    LookupMissRecorder& operator=(const LookupMissRecorder&) = delete;

    // In the order they were reported.
    const LookupMisses& Misses() const;
};
}
