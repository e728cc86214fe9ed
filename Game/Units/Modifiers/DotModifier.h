#pragma once

// Damage over time on its enemy, with a mark at every tick.
#include "Game/Units/Modifiers/NQModifier.h"

class DotModifier : public NQModifier
{
public:
    DotModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
