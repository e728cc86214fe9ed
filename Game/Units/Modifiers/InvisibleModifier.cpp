#include "Game/Units/Modifiers/InvisibleModifier.h"

#include "Game/Units/EnemyAuras.h"
#include "Game/Units/NQEnemy.h"

namespace
{
constexpr float kInvisibleSeconds = 2.0f;
// Far above any period: the first update ticks.
constexpr float kFirstTickAccumulator = 100.0f;
} // namespace

InvisibleModifier::InvisibleModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
    mAccumulator = kFirstTickAccumulator;
}

void InvisibleModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || IsDead(owner))
        return;
    owner->mInvisibleTimer = kInvisibleSeconds;
    owner->mAlphaTarget = NQEnemy::kInvisibleAlpha;
}
