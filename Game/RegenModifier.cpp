#include "Game/RegenModifier.h"

#include "Game/EnemyAuras.h"
#include "Game/NQEnemy.h"

namespace
{
// A heal of a tenth of the maximum, as negative damage.
constexpr float kHealShare = -10.0f;
} // namespace

RegenModifier::RegenModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
    mAbility = 1;
}

void RegenModifier::Tick(NQEnemy* owner, float)
{
    if (!owner || owner->mSlow != 0.0f || IsDead(owner))
        return;
    const float maximum = owner->GetMaxHealth();
    if (!(maximum > owner->mHealth))
        return;
    owner->ApplyDamage(maximum / kHealShare);
    if (owner->mHealth > maximum)
        owner->mHealth = maximum;
}
