#include "Game/DotModifierArea.h"

#include "Game/DotModifier.h"
#include "Game/Game.h"
#include "Game/NQEnemy.h"
#include "Game/NQMap.h"
#include "Game/NQWaveManager.h"

DotModifierArea::DotModifierArea(float x, float y, float size, float value, float duration)
    : NQModifier(std::string(), value, duration, nullptr)
{
    mAreaX = x;
    mAreaY = y;
    mAreaSize = size;
}

void DotModifierArea::Tick(NQEnemy*, float)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    std::vector<NQEnemy*> reached;
    map->mWaveManager->GetEnemiesInRadius(mAreaX, mAreaY, mAreaSize, reached);
    for (NQEnemy* enemy : reached)
    {
        auto* dot = new DotModifier(std::string(), mValue, mDuration, nullptr);
        dot->mPeriod = kDotPeriod;
        enemy->OfferModifier(dot);
    }
}
