#pragma once

// Holds its enemy still while it lasts.
#include "Game/Units/Modifiers/NQModifier.h"

class HoldModifier : public NQModifier
{
public:
    HoldModifier(const std::string& name, float value, float duration, void* source);

    void Tick(NQEnemy* owner, float dt) override;
};
