#pragma once

// An enemy's ability to heal the wounded around it.
#include "Game/Units/Modifiers/NQModifier.h"

class HealerModifier : public NQModifier
{
public:
    HealerModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
