#include "Game/Units/Modifiers/FireSplashModifier.h"

#include "Game/Units/NQEnemy.h"

FireSplashModifier::FireSplashModifier(const std::string& name, float value, float duration, void* source, float x,
                                       float y, float size)
    : NQModifier(name, value, duration, source)
{
    SetArea(x, y, size);
}

void FireSplashModifier::Tick(NQEnemy*, float)
{
    for (NQEnemy* enemy : FindEnemiesInArea())
        enemy->ApplyDamage(mValue);
}
