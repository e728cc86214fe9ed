#pragma once

#include <cstdint>
#include <vector>

class NQWaveEntry;

// One wave of the level file.
class NQWaveProto
{
public:
    NQWaveProto() = default;
    virtual ~NQWaveProto();
    NQWaveProto(const NQWaveProto&) = delete;
    NQWaveProto& operator=(const NQWaveProto&) = delete;

    int32_t mTimeout = 0;
    // The point its enemies start from; -1 the level's spawn point.
    int32_t mSpawn = -1;
    int32_t mWipeAward = 0;
    float mScale = 1.0f;
    int32_t mLinked = -1;
    std::vector<NQWaveEntry*> mEntries;
    float mClock = 0.0f;
    int32_t mSpawnedCount = 0;
    int32_t mFinishedCount = 0;
};
