#include "Game/Units/Modifiers/StunModifier.h"

#include "Game/Units/EnemyAuras.h"

namespace
{
// The share of the unit's own speed taken away.
constexpr float kSlowShare = 0.5f;
} // namespace

StunModifier::StunModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
}

void StunModifier::Tick(NQEnemy* owner, float) { HoldBack(owner, kSlowShare); }
