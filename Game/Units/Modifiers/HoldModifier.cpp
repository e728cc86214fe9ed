#include "Game/Units/Modifiers/HoldModifier.h"

#include "Game/Units/EnemyAuras.h"

namespace
{
// The share of the unit's own speed taken away.
constexpr float kSlowShare = 1.0f;
} // namespace

HoldModifier::HoldModifier(const std::string& name, float value, float duration, void* source)
    : NQModifier(name, value, duration, source)
{
}

void HoldModifier::Tick(NQEnemy* owner, float) { HoldBack(owner, kSlowShare); }
