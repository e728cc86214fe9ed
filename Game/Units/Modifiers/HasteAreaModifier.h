#pragma once

// An enemy's aura that hastens the enemies around it.
#include "Game/Units/Modifiers/NQModifier.h"

class HasteAreaModifier : public NQModifier
{
public:
    HasteAreaModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
