#include "Game/Units/Modifiers/ShamanPortal.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"

namespace
{
constexpr int kLoop = 1;
constexpr int kStatePlayToEnd = 2;
constexpr int32_t kSummonedId = 0;
constexpr int32_t kSummonedState = 1;
constexpr float kRunTimeX = -1.0f;
} // namespace

ShamanPortal::ShamanPortal(NQEnemy* shaman, float duration)
    : NQModifier(std::string(), 0.0f, duration, nullptr), mShaman(shaman)
{
    mSnapshot = shaman->GetWalk();
    mWave = shaman->mEntry->mWave;
    mLane = shaman->mEntry->mY;

    NQMap* map = Game::GetMap();
    const NQUnitProto* proto = shaman->GetProto();
    const NQUnitProto* summon = map && proto ? map->mUnitDatabase->FindProto(proto->ammoid) : nullptr;
    if (!summon)
        return;
    mEffect = PlaceEffect(map->mDepthEffects, summon->onFire, mSnapshot.x, mSnapshot.y, kLoop);
    // The front effects keep it, stopped or not, while the portal points at it.
    mEffect->mHeld = true;
}

ShamanPortal::~ShamanPortal()
{
    if (!mEffect)
        return;
    if (mEffect->mEmitter)
        mEffect->mEmitter->SetState(kStatePlayToEnd);
    mEffect->mHeld = false;
    mEffect = nullptr;
}

void ShamanPortal::Update(NQEnemy* owner, float dt)
{
    if (mEffect)
        mEffect->Update(dt);
    NQModifier::Update(owner, dt);
}

void ShamanPortal::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    const int32_t index = mSnapshot.routeIndex;
    if (!map || !mWave || index < 0 || size_t(index) >= mSnapshot.route.size())
        return;
    NQPoint* point = FindById(*map->mPoints, mSnapshot.route[size_t(index)]);
    // No point to open at: nothing comes through.
    if (!point)
        return;
    auto* entry = new NQWaveEntry(mWave);
    entry->mState = kSummonedState;
    entry->mId = kSummonedId;
    entry->mUpgrade = 1;
    entry->mX = kRunTimeX;
    entry->mY = mLane;
    entry->mSpawned = true;
    mWave->mEntries.push_back(entry);
    NQEnemy* summoned = map->SpawnEnemy(entry, point);
    if (!summoned)
        return;
    summoned->mLevel = 0;
    summoned->SetWalk(mSnapshot);
}
