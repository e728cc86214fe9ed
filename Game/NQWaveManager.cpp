#include "Game/NQWaveManager.h"

#include "Core/Base/DeleteAll.h"
#include "Game/NQEnemy.h"
#include "Game/NQWaveEntry.h"
#include "Game/NQWaveProto.h"

NQWaveManager::~NQWaveManager()
{
    base::DeleteAll(mEnemies);
    mActiveWaves.clear();
    base::DeleteAll(mWaves);
}

void NQWaveManager::Reset()
{
    mActiveWaves.clear();
    mNextWave = 0;
    for (NQWaveProto* wave : mWaves)
    {
        wave->mClock = 0.0f;
        wave->mSpawnedCount = 0;
        wave->mFinishedCount = 0;
        // Entries added during play (x -1) go; the others wait again.
        std::vector<NQWaveEntry*> kept;
        for (NQWaveEntry* entry : wave->mEntries)
        {
            if (entry->mX == -1.0f)
            {
                delete entry;
                continue;
            }
            entry->mState = -1;
            entry->mSpawned = false;
            kept.push_back(entry);
        }
        wave->mEntries = std::move(kept);
    }
}

void NQWaveManager::SetClock(float t)
{
    mClock = t;
    for (NQWaveProto* wave : mWaves)
        wave->mClock = t;
}
