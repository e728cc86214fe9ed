#include "BattleFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/EffectList.h"
#include "Game/FindById.h"
#include "Game/NQEnemy.h"
#include "Game/NQLevelEconomy.h"
#include "Game/NQMap.h"
#include "Game/NQModifier.h"
#include "Game/NQPoint.h"
#include "Game/NQWaveEntry.h"
#include "Game/NQWaveManager.h"
#include "Game/NQWaveProto.h"
#include "Game/SpriteList.h"

#include <cmath>
#include <cstring>

namespace gametest
{
namespace
{
constexpr int kEmitterPlaying = 1;
constexpr uint64_t kFnvOffset = 1469598103934665603ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

template <class T>
void Hash(uint64_t& hash, const T& value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char byte : bytes)
    {
        hash ^= byte;
        hash *= kFnvPrime;
    }
}

void DeleteInactive(std::vector<NQModifier*>& modifiers)
{
    size_t kept = 0;
    for (size_t i = 0; i < modifiers.size(); ++i)
    {
        if (!modifiers[i]->mActive)
        {
            delete modifiers[i];
            continue;
        }
        modifiers[kept++] = modifiers[i];
    }
    modifiers.resize(kept);
}
} // namespace

void BattleTest::SetUp()
{
    LevelTest::SetUp();
    WriteBattleData(*data);
    data->Write("nq/fx/fx2.ptc", BattleEffectsLibrary());
    render::ParticleSystem::Instance()->Load("fx2.ptc", application->mRender);
    game::testing::SetEffectObserver([this](const std::string& name, float x, float y, const NQEffectList& list) {
        effects.push_back({name, x, y, map && &list == &map->mEffects ? "anchor" : "front"});
    });
}

void BattleTest::TearDown()
{
    game::testing::SetEffectObserver(nullptr);
    LevelTest::TearDown();
}

void BattleTest::WriteLevel(const std::string& xml, int mode, int episode, int level) const
{
    constexpr int kHardcore = 3;
    data->Write(LevelFilePath(episode, level, mode == kHardcore), xml);
}

NQMap* BattleTest::StartBattle(int mode, int episode, int level, uint32_t seed)
{
    LoadProfiles(ProfilesXml(mode, 0));
    BuildLevel();
    map->mEpisode = episode;
    map->mLevel = level;
    // One seeding call; every later draw continues the sequence.
    math::Random(seed);
    map->StartLevel();
    framesStepped = 0;
    effects.clear();
    return map;
}

NQMap* BattleTest::StartBattleOn(const std::string& xml, int mode, uint32_t seed)
{
    WriteLevel(xml, mode);
    return StartBattle(mode, 0, 0, seed);
}

void BattleTest::Step(float dt)
{
    ++framesStepped;
    if (!map->mResourcesLoaded)
        return;
    map->mFrameTime = dt;
    const float sdt = map->mSpeed * dt;
    map->mGameTime += sdt;
    UpdateEffectList(map->mEffects, sdt);
    for (size_t i = 0; i < map->mLooseEmitters.size();)
    {
        render::ParticleEmitter* emitter = map->mLooseEmitters[i];
        if (emitter->mState == kEmitterPlaying)
        {
            emitter->Update(dt);
            ++i;
            continue;
        }
        delete emitter;
        map->mLooseEmitters.erase(map->mLooseEmitters.begin() + std::ptrdiff_t(i));
    }
    if (map->mScreenState != screen::kPlaying)
        return;
    UpdateSprites(*map->mHints, sdt);
    map->mEconomy->Update(dt);
    UpdateEffectList(map->mDepthEffects, sdt);
    for (size_t i = 0; i < map->mModifiers.size(); ++i)
        map->mModifiers[i]->Update(nullptr, sdt);
    NQWaveManager* waves = map->mWaveManager;
    waves->UpdateEnemyModifiers(sdt);
    for (size_t i = 0; i < waves->mEnemies.size(); ++i)
        waves->mEnemies[i]->Update(sdt);
    DeleteInactive(map->mModifiers);
    waves->Update(sdt);
    for (NQEnemy* enemy : waves->mEnemies)
        enemy->mSlow = 0.0f;
}

void BattleTest::StepFrames(int frames)
{
    for (int i = 0; i < frames; ++i)
        Step(frameTime);
}

int BattleTest::StepUntilEnd(int limit)
{
    int frames = 0;
    while (frames < limit && map->mScreenState == screen::kPlaying)
    {
        Step(frameTime);
        ++frames;
    }
    return frames;
}

void BattleTest::StepSeconds(float seconds) { StepFrames(int(std::lround(seconds / frameTime))); }

NQEnemy* BattleTest::SpawnNow(int unitId, float laneY, int upgrade, int pointId)
{
    NQWaveProto* wave = map->mWaveManager->mWaves.at(0);
    auto* entry = new NQWaveEntry(wave);
    entry->mId = unitId;
    entry->mUpgrade = upgrade;
    entry->mX = -1.0f;
    entry->mY = laneY;
    wave->mEntries.push_back(entry);
    NQEnemy* enemy = map->SpawnEnemy(entry, FindById(*map->mPoints, pointId));
    if (enemy)
        entry->mState = 7;
    return enemy;
}

std::string BattleTest::QuietLevelXml()
{
    return StraightLevelXml(WaveXml("timeout=\"100000\" spawn=\"1\"", EntryXml(units::kTank, 0.0f)));
}

NQModifier* BattleTest::PlaceMapModifier(NQModifier* modifier)
{
    map->mModifiers.push_back(modifier);
    return modifier;
}

NQLevelEconomy& BattleTest::Economy() const { return *map->mEconomy; }

NQWaveManager& BattleTest::Waves() const { return *map->mWaveManager; }

const std::vector<NQEnemy*>& BattleTest::Enemies() const { return map->mWaveManager->mEnemies; }

NQEnemy* BattleTest::FindEnemy(int unitId) const
{
    for (NQEnemy* enemy : Enemies())
        if (enemy->mEntry->mId == unitId)
            return enemy;
    return nullptr;
}

int BattleTest::CountEnemies(int unitId) const
{
    int count = 0;
    for (NQEnemy* enemy : Enemies())
        count += enemy->mEntry->mId == unitId ? 1 : 0;
    return count;
}

uint64_t BattleTest::Digest() const
{
    uint64_t hash = kFnvOffset;
    const NQLevelEconomy& economy = *map->mEconomy;
    Hash(hash, economy.mGold);
    Hash(hash, map->mLives);
    Hash(hash, economy.mKillScore);
    const NQWaveManager& waves = *map->mWaveManager;
    Hash(hash, waves.mNextWave);
    Hash(hash, waves.mGroupsDone);
    Hash(hash, waves.mClock);
    for (const NQEnemy* enemy : waves.mEnemies)
    {
        Hash(hash, enemy->mX);
        Hash(hash, enemy->mY);
        Hash(hash, enemy->mHealth);
        Hash(hash, enemy->mState);
        Hash(hash, enemy->mModifiers.size());
    }
    return hash;
}

int BattleTest::CountTag(const std::wstring& tag) const
{
    int count = 0;
    for (const auto& played : sounds->tags)
        count += played.first == tag ? 1 : 0;
    return count;
}

int BattleTest::CountEvent(const std::wstring& event) const
{
    int count = 0;
    for (const std::wstring& received : tutorial->events)
        count += received == event ? 1 : 0;
    return count;
}
} // namespace gametest
