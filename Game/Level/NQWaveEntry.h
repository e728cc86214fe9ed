#pragma once

#include <cstdint>
#include <string>

class NQWaveProto;

// One enemy of a wave: which unit, when on the wave's timeline (x, 45 units
// a second) and on which lane (y).
class NQWaveEntry
{
public:
    // An entry made during play: waiting, upgrade 1, in the given wave.
    explicit NQWaveEntry(NQWaveProto* wave);

    void SetState(int32_t state);

    // -1 waiting, 7 on the map, 2 killed, 3 gone (reached the goal), 9 while its death is processed.
    int32_t mState = -1;
    int32_t mId = 0;
    // Nothing sets it.
    std::string mName;
    // Set only by entries added during play.
    float mRunTimeValue = 0.0f;
    int32_t mUpgrade = 1;
    float mX = 0.0f;
    float mY = 0.0f;
    bool mSpawned = false;
    // 0 in entries of the level file: copied into the enemy, and half of the
    // second added to its health.
    int32_t mEnemyValue = 0;
    int32_t mHealthBonus = 0;
    // The owning wave; not owned.
    NQWaveProto* mWave = nullptr;
};
