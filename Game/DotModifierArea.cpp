#include "Game/DotModifierArea.h"

#include "Game/DotModifier.h"
#include "Game/NQEnemy.h"

DotModifierArea::DotModifierArea(float x, float y, float size, float value, float duration)
    : NQModifier(std::string(), value, duration, nullptr)
{
    SetArea(x, y, size);
}

void DotModifierArea::Tick(NQEnemy*, float)
{
    for (NQEnemy* enemy : FindEnemiesInArea())
    {
        auto* dot = new DotModifier(std::string(), mValue, mDuration, nullptr);
        dot->mPeriod = kDotPeriod;
        enemy->OfferModifier(dot);
    }
}
