#include "Game/Units/Modifiers/NQModifier.h"

#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"

NQModifier::NQModifier(const std::string& name, float value, float duration, void* source)
    : mName(name), mValue(value), mDuration(duration), mSource(source)
{
}

void NQModifier::Update(NQEnemy* owner, float dt)
{
    if (!mActive)
        return;
    mAccumulator += dt;
    mElapsed += dt;
    // Strictly above: a period of -1 ticks even at dt 0; the remainder is dropped.
    if (mAccumulator > mPeriod)
    {
        mAccumulator = 0.0f;
        Tick(owner, dt);
    }
    if (mDuration != kEndless && mElapsed > mDuration)
        mActive = 0;
}

void NQModifier::Tick(NQEnemy*, float) {}

void NQModifier::ForgetSource(void* object)
{
    if (mSource == object)
        mSource = nullptr;
}

void NQModifier::SetArea(float x, float y, float size)
{
    mAreaX = x;
    mAreaY = y;
    mAreaSize = size;
}

std::vector<NQEnemy*> NQModifier::FindEnemiesInArea() const
{
    std::vector<NQEnemy*> reached;
    if (NQMap* map = Game::GetMap())
        map->mWaveManager->GetEnemiesInRadius(mAreaX, mAreaY, mAreaSize, reached);
    return reached;
}
