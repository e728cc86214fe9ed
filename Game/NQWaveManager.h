#pragma once

#include <cstdint>
#include <vector>

class NQEnemy;
class NQWaveProto;

// The level's waves: the prototypes of the level file, the waves running and
// the live enemies, on one clock.
class NQWaveManager
{
public:
    NQWaveManager() = default;
    ~NQWaveManager();
    NQWaveManager(const NQWaveManager&) = delete;
    NQWaveManager& operator=(const NQWaveManager&) = delete;

    // No wave runs, the next is the first; every prototype back at its start.
    void Reset();
    // The manager's clock and every prototype's become t.
    void SetClock(float t);

    std::vector<NQWaveProto*> mWaves;
    // Not owned: the running ones among mWaves.
    std::vector<NQWaveProto*> mActiveWaves;
    std::vector<NQEnemy*> mEnemies;
    float mClock = 0.0f;
    int32_t mNextWave = 0;
    float mTimeout = 0.0f;
};
