#pragma once

// An enemy's ability to heal itself.
#include "Game/Units/Modifiers/NQModifier.h"

class RegenModifier : public NQModifier
{
public:
    RegenModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
