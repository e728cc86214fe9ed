#pragma once

#include <cstdint>

namespace d3d9 {

// Per-device call counts for tests and benchmarks.
struct DeviceCounters
{
    uint64_t drawCalls = 0;
    uint64_t primitives = 0;
    uint64_t stateCalls = 0;
    uint64_t bytesUploaded = 0;
    // Texture levels copied back for a lock that keeps their pixels.
    uint64_t bytesReadBack = 0;
    uint64_t presents = 0;
};

} // namespace d3d9
