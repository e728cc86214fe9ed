#include "Game/Units/Modifiers/HasteAreaModifier.h"

#include "Game/Units/EnemyAuras.h"
#include "Game/Units/NQEnemy.h"

namespace
{
constexpr float kHasteFactor = 2.0f;
constexpr float kHasteSeconds = 5.0f;
} // namespace

HasteAreaModifier::HasteAreaModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
}

void HasteAreaModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || IsDead(owner))
        return;
    for (NQEnemy* other : FindEnemiesWithinR(owner))
    {
        other->mSpeedFactorTarget = kHasteFactor;
        other->mSpeedFactorTimer = kHasteSeconds;
    }
}
