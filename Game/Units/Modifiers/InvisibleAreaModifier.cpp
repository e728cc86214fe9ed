#include "Game/Units/Modifiers/InvisibleAreaModifier.h"

#include "Game/Units/EnemyAuras.h"
#include "Game/Units/NQEnemy.h"

namespace
{
constexpr float kInvisibleSeconds = 2.0f;
} // namespace

InvisibleAreaModifier::InvisibleAreaModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
}

void InvisibleAreaModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || IsDead(owner))
        return;
    for (NQEnemy* other : FindEnemiesWithinR(owner))
    {
        other->mInvisibleTimer = kInvisibleSeconds;
        other->mAlphaTarget = NQEnemy::kInvisibleAlpha;
    }
}
