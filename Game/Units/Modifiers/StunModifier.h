#pragma once

// Halves its enemy's speed while it lasts.
#include "Game/Units/Modifiers/NQModifier.h"

class StunModifier : public NQModifier
{
public:
    StunModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
