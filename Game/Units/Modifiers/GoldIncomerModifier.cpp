#include "Game/Units/Modifiers/GoldIncomerModifier.h"

#include "Game/Units/NQTower.h"

GoldIncomerModifier::GoldIncomerModifier(float period, NQTower* tower)
    : NQModifier(std::string(), 0.0f, kEndless, tower)
{
    mPeriod = period;
}

void GoldIncomerModifier::Tick(NQEnemy*, float)
{
    if (mSource)
        static_cast<NQTower*>(mSource)->PayIncome();
}
