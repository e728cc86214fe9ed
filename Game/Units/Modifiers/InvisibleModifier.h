#pragma once

// An enemy's ability to hide itself; it hides at its first update.
#include "Game/Units/Modifiers/NQModifier.h"

class InvisibleModifier : public NQModifier
{
public:
    InvisibleModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
