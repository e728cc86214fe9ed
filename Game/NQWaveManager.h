#pragma once

#include <cstdint>
#include <vector>

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
}
class NQEnemy;
class NQWaveProto;

// The level's waves: the waves of the level file, the group running and the
// live enemies, on one clock.
class NQWaveManager
{
public:
    NQWaveManager();
    NQWaveManager(const NQWaveManager&) = delete;
    NQWaveManager& operator=(const NQWaveManager&) = delete;
    // The live enemies go before the waves whose entries they point to.
    ~NQWaveManager();

    // The waves of the "waves" element (none for null): every "wave" child
    // from the first on, each starting floor(timeout) later; waves without
    // entries are dropped.
    void LoadWaves(const tinyxml2::XMLElement* waves);
    // No wave runs, the next is the first; every wave back at its start.
    void Reset();
    // The manager's clock and every wave's become t.
    void SetClock(float t);

    // Not owned: the running group among mWaves.
    std::vector<NQWaveProto*> mActiveWaves;
    // Made and destroyed here; nothing uses it.
    tinyxml2::XMLDocument* mDocument = nullptr;
    // Owned, level order.
    std::vector<NQWaveProto*> mWaves;
    // Owned, spawn order.
    std::vector<NQEnemy*> mEnemies;
    int32_t mNextWave = 0;
    int32_t mGroupsDone = 0;
    // The "waves" element's "timeout".
    float mGlobalDelay = 0.0f;
    // Seconds since the running group started.
    float mClock = 0.0f;
    // Seconds between groups on the developer's wave schedule.
    float mWaveGap = 0.0f;
};
