#include "Game/RegenModifier.h"

#include "Game/EnemyAuras.h"
#include "Game/NQEnemy.h"

RegenModifier::RegenModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
}

void RegenModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || owner->mSlow != 0.0f || IsDead(owner))
        return;
    HealTenth(owner);
}
