#include "Game/Units/Modifiers/RegenModifier.h"

#include "Game/Units/EnemyAuras.h"
#include "Game/Units/NQEnemy.h"

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
