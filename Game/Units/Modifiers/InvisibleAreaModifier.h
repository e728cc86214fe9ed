#pragma once

// An enemy's aura that hides the enemies around it.
#include "Game/Units/Modifiers/NQModifier.h"

class InvisibleAreaModifier : public NQModifier
{
public:
    InvisibleAreaModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
