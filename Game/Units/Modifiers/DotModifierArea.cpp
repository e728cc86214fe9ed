#include "Game/Units/Modifiers/DotModifierArea.h"

#include "Game/Units/Modifiers/DotModifier.h"
#include "Game/Units/NQEnemy.h"

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
