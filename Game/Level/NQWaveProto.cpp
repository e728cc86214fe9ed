#include "Game/Level/NQWaveProto.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Game/Data/FindById.h"
#include "Game/Data/LevelAttributes.h"
#include "Game/Game.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Roads/NQPoint.h"

#include <tinyxml2.h>

NQWaveProto::~NQWaveProto() { base::DeleteAll(mEntries); }

namespace
{
constexpr int32_t kRunning = 1;
constexpr int32_t kOnTheMap = 7;
constexpr int32_t kKilled = 2;
constexpr int32_t kGone = 3;
// Entries' x runs at 45 units a second.
constexpr float kUnitsPerSecond = 45.0f;
constexpr float kFirstSecond = 1.0f;
// The tutorial's counts of spawned entries.
constexpr int32_t kSecondSpawned = 2;
constexpr int32_t kNinthSpawned = 9;
} // namespace

void NQWaveProto::Update(float dt)
{
    mTime += dt;
    if (mState == kRunning)
        SpawnDue();
}

bool NQWaveProto::IsFinished()
{
    for (const NQWaveEntry* entry : mEntries)
        if (entry->mState != kKilled && entry->mState != kGone)
            return false;
    return true;
}

void NQWaveProto::SpawnDue()
{
    NQTutorial* tutorial = NQTutorial::Instance();
    if (mTime < kFirstSecond)
        tutorial->OnEvent(L"wave_1_spawned_0");
    NQMap* map = Game::GetMap();
    // By position: spawning may append entries to this wave.
    for (size_t i = 0; i < mEntries.size(); ++i)
    {
        NQWaveEntry* entry = mEntries[i];
        if (entry->mSpawned || !(mTime >= mScale * (entry->mX / kUnitsPerSecond) + float(mTimeout)))
            continue;
        entry->mSpawned = true;
        NQPoint* point = mSpawn == -1 ? map->FindSpawnPoint() : FindById(*map->mPoints, mSpawn);
        // A refused spawn leaves the entry given up (killed) rather than on the map.
        if (map->SpawnEnemy(entry, point))
            entry->mState = kOnTheMap;
        ++mSpawnedCount;
        if (mSpawnedCount == kSecondSpawned)
            tutorial->OnEvent(L"wave_1_spawned_2");
        else if (mSpawnedCount == kNinthSpawned)
            tutorial->OnEvent(L"wave_1_spawned_10");
    }
}

void NQWaveProto::OnEnemyEvent(int32_t, float, int32_t) {}

void NQWaveProto::loadFromXML(const tinyxml2::XMLElement* wave)
{
    mTimeout = ReadIntAttribute(wave, "timeout", 0);
    mSpawn = ReadIntAttribute(wave, "spawn", 0);
    mWipeAward = ReadIntAttribute(wave, "wipeAward", 0);
    mScale = ReadFloatAttribute(wave, "scale", 0.0f);
    if (mScale == 0.0f)
        mScale = 1.0f;
    // Absent: a group of its own; present but not an integer: 0.
    int linked = 0;
    const tinyxml2::XMLError found = wave->QueryIntAttribute("linked", &linked);
    mLinked = found == tinyxml2::XML_NO_ATTRIBUTE ? -1 : found == tinyxml2::XML_SUCCESS ? linked : 0;
    HV_LOG(L"LOADED ENEMY WAVE=(timeout=%d, spawner=%d)\n") % mTimeout % mSpawn;

    for (const tinyxml2::XMLElement* child = wave->FirstChildElement(); child; child = child->NextSiblingElement())
    {
        NQWaveEntry* entry = new NQWaveEntry(this);
        entry->mId = ReadIntAttribute(child, "id", 0);
        entry->mUpgrade = ReadIntAttribute(child, "upgrade", 0);
        entry->mX = ReadFloatAttribute(child, "x", 0.0f);
        entry->mY = ReadFloatAttribute(child, "y", 0.0f);
        mEntries.push_back(entry);
    }
}
