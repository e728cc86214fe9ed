#include "Game/NQWaveManager.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Game/GameMath.h"
#include "Game/LevelAttributes.h"
#include "Game/NQEnemy.h"
#include "Game/NQWaveEntry.h"
#include "Game/NQWaveProto.h"

#include <tinyxml2.h>

NQWaveManager::NQWaveManager() : mDocument(new tinyxml2::XMLDocument) {}

NQWaveManager::~NQWaveManager()
{
    base::DeleteAll(mEnemies);
    mActiveWaves.clear();
    base::DeleteAll(mWaves);
    delete mDocument;
}

void NQWaveManager::LoadWaves(const tinyxml2::XMLElement* waves)
{
    base::DeleteAll(mWaves);
    mActiveWaves.clear();
    mNextWave = 0;
    mClock = 0.0f;
    mGlobalDelay = waves ? ReadFloatAttribute(waves, "timeout", 0.0f) : 0.0f;
    if (!waves)
        return;
    const int32_t delay = math::TruncateToInt32(math::Floor(mGlobalDelay));
    for (const tinyxml2::XMLElement* element = waves->FirstChildElement("wave"); element;
         element = element->NextSiblingElement())
    {
        NQWaveProto* wave = new NQWaveProto;
        wave->loadFromXML(element);
        wave->mTimeout = AddSaturated(wave->mTimeout, delay);
        // A wave without entries is dropped and takes no index.
        if (wave->mEntries.empty())
        {
            delete wave;
            continue;
        }
        mWaves.push_back(wave);
    }
}

void NQWaveManager::Reset()
{
    mActiveWaves.clear();
    mNextWave = 0;
    for (NQWaveProto* wave : mWaves)
    {
        wave->mTime = 0.0f;
        wave->mSpawnedCount = 0;
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
        wave->mTime = t;
}
