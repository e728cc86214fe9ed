#include "Game/Level/NQWaveManager.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Game/Data/FindById.h"
#include "Game/Data/LevelAttributes.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Roads/PathWalk.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQCrystallSpecial.h"
#include "Game/Units/NQEnemy.h"

#include <algorithm>
#include <string>

#include <tinyxml2.h>

namespace
{
constexpr int32_t kIdle = 0;
constexpr int32_t kRunning = 1;
constexpr int32_t kNotLinked = -1;
constexpr int32_t kSettling = 9;
constexpr int32_t kKilled = 2;
constexpr int32_t kGone = 3;
constexpr float kRunTimeX = -1.0f;
// Entries' x runs at 45 units a second.
constexpr float kUnitsPerSecond = 45.0f;
constexpr float kPercent = 100.0f;
// An override of exactly 1 makes every kill drop a gem.
constexpr float kDropEveryKill = 1.0f;
constexpr float kCertainDrop = 2.0f;
constexpr float kNoNearest = 1e9f;

void TutorialEvent(const std::wstring& name)
{
    NQTutorial::Instance()->OnEvent(name);
}

bool AllKilled(const NQWaveProto* wave)
{
    for (const NQWaveEntry* entry : wave->mEntries)
        if (entry->mState != kKilled)
            return false;
    return true;
}
} // namespace

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
    mGroupsDone = 0;
    for (NQWaveProto* wave : mWaves)
    {
        wave->mState = kIdle;
        wave->mTime = 0.0f;
        wave->mSpawnedCount = 0;
        // Entries added during play (x -1) go; the others wait again.
        std::vector<NQWaveEntry*> kept;
        for (NQWaveEntry* entry : wave->mEntries)
        {
            if (entry->mX == kRunTimeX)
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
    for (NQWaveProto* wave : mActiveWaves)
        wave->mTime = t;
}

void NQWaveManager::Update(float dt)
{
    NQMap* map = Game::GetMap();
    mClock += dt;
    NQWaveHintStrip* hints = map->mWaveHints;
    if (hints && !hints->mHints.empty() && mClock >= hints->mNextWaveTime)
    {
        hints->Clear();
        // The wave came by itself: a hint at its marker has nothing left to point at.
        TutorialEvent(L"wave_started");
    }

    // Settling the dead; walked by position, the list shrinks on the way.
    for (size_t i = 0; i < mEnemies.size();)
    {
        NQEnemy* enemy = mEnemies[i];
        if (enemy->mInPlay)
        {
            ++i;
            continue;
        }
        NQWaveEntry* entry = enemy->mEntry;
        entry->mState = kSettling;
        entry->mState = enemy->mLeaked ? kGone : kKilled;
        if (entry->mState == kKilled)
        {
            if (entry->mWave && AllKilled(entry->mWave))
                map->mEconomy->AddGold(entry->mWave->mWipeAward);
            const NQUnitProto* proto = enemy->GetProto();
            float chance = proto ? float(proto->dropChance) / kPercent : 0.0f;
            if (map->mDropChanceOverride == kDropEveryKill)
                chance = kCertainDrop;
            const float r = math::Random(0);
            if (chance >= r)
            {
                map->mDrops->push_back(new NQCrystallSpecial(enemy));
                TutorialEvent(L"gem_dropped");
            }
        }
        map->ForgetEnemy(enemy);
        mEnemies.erase(mEnemies.begin() + std::ptrdiff_t(i));
        delete enemy;
    }

    if (mActiveWaves.empty())
    {
        if (size_t(mNextWave) >= mWaves.size())
        {
            map->Win();
            return;
        }
        while (size_t(mNextWave) < mWaves.size() && mWaves[size_t(mNextWave)]->mLinked != kNotLinked)
        {
            ++mNextWave;
            map->mHud->UpdateWavesText();
        }
        if (size_t(mNextWave) >= mWaves.size())
            return;
        NQWaveProto* master = mWaves[size_t(mNextWave)];
        master->mState = kRunning;
        mActiveWaves.push_back(master);
        for (NQWaveProto* wave : mWaves)
        {
            if (wave->mLinked != mNextWave)
                continue;
            wave->mState = kRunning;
            mActiveWaves.push_back(wave);
        }

        float vanish = 0.0f;
        for (size_t i = 0; i < mActiveWaves.size(); ++i)
        {
            const NQWaveProto* wave = mActiveWaves[i];
            NQPoint* point = wave->mSpawn == -1 ? map->FindSpawnPoint() : FindById(*map->mPoints, wave->mSpawn);
            if (hints && point)
                hints->AddHint(*point);
            float smallestX = 0.0f;
            for (const NQWaveEntry* entry : wave->mEntries)
                smallestX = std::min(smallestX, entry->mX);
            const float start = float(wave->mTimeout) + smallestX / kUnitsPerSecond;
            vanish = i == 0 ? start : std::min(vanish, start);
        }
        if (hints)
            hints->mNextWaveTime = vanish;
        return;
    }

    for (size_t i = 0; i < mActiveWaves.size(); ++i)
        mActiveWaves[i]->Update(dt);
    for (NQWaveProto* wave : mActiveWaves)
        if (!wave->IsFinished())
            return;
    mClock = 0.0f;
    mActiveWaves.clear();
    TutorialEvent(L"wave_vanish_" + std::to_wstring(mNextWave + 1));
    ++mNextWave;
    ++mGroupsDone;
    map->mHud->UpdateWavesText();
}

int32_t NQWaveManager::GetWaveCount() const
{
    int32_t count = 0;
    for (const NQWaveProto* wave : mWaves)
        if (wave->mLinked == kNotLinked)
            ++count;
    return count;
}

NQEnemy* NQWaveManager::EnemyAt(float x, float y) const
{
    for (NQEnemy* enemy : mEnemies)
    {
        NQEnemy::Bounds bounds;
        if (!enemy->GetBounds(bounds))
            continue;
        if (x >= bounds.x - bounds.w / 2.0f && x <= bounds.x + bounds.w / 2.0f && y >= bounds.y - bounds.h / 2.0f &&
            y <= bounds.y + bounds.h / 2.0f)
            return enemy;
    }
    return nullptr;
}

NQEnemy* NQWaveManager::AddEnemy(NQWaveEntry* entry, NQPoint* spawnPoint)
{
    auto* enemy = new NQEnemy(entry);
    enemy->mCurrentPoint = spawnPoint;
    entry->mSpawned = true;
    mEnemies.push_back(enemy);
    return enemy;
}

void NQWaveManager::GetEnemiesInRadius(float x, float y, float size, std::vector<NQEnemy*>& out) const
{
    const float reach = size * 0.5f;
    for (NQEnemy* enemy : mEnemies)
        if (PointDistance(x, y, enemy->mDrawX, enemy->mDrawY) <= reach)
            out.push_back(enemy);
}

void NQWaveManager::UpdateEnemyModifiers(float dt)
{
    // By position: a tick may append enemies (a summon) and modifiers.
    for (size_t i = 0; i < mEnemies.size(); ++i)
    {
        NQEnemy* enemy = mEnemies[i];
        for (size_t j = 0; j < enemy->mModifiers.size(); ++j)
            enemy->mModifiers[j]->Update(enemy, dt);
    }
}

void NQWaveManager::BuildTowerQueries()
{
    mGrid.Build(mEnemies);
    mTowerAuraEnemies.clear();
    for (NQEnemy* enemy : mEnemies)
        if (const NQUnitProto* proto = enemy->GetProto(); proto && (proto->blocktower || proto->debufftower))
            mTowerAuraEnemies.push_back(enemy);
}

void NQWaveManager::DropTowerQueries()
{
    mGrid.Clear();
    mTowerAuraEnemies.clear();
}

const EnemyGrid* NQWaveManager::GetGrid() const
{
    return mGrid.Covers(mEnemies) ? &mGrid : nullptr;
}

const std::vector<NQEnemy*>* NQWaveManager::GetTowerAuraEnemies() const
{
    return mGrid.Covers(mEnemies) ? &mTowerAuraEnemies : nullptr;
}

NQEnemy* FindNearestEnemy(const std::vector<NQEnemy*>& enemies, float x, float y)
{
    NQEnemy* nearest = nullptr;
    float best = kNoNearest;
    for (NQEnemy* enemy : enemies)
    {
        const float dx = enemy->mX - x;
        const float dy = enemy->mY - y;
        const float squared = dx * dx + dy * dy;
        if (squared < best)
        {
            best = squared;
            nearest = enemy;
        }
    }
    return nearest;
}

bool CompareEnemyHealth(const NQEnemy* a, const NQEnemy* b) { return b->mHealth > a->mHealth; }
