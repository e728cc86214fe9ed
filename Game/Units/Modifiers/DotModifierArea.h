#pragma once

// An area on the map that offers damage over time to every enemy in it.
#include "Game/Units/Modifiers/NQModifier.h"

class DotModifierArea : public NQModifier
{
public:
    static constexpr float kDotPeriod = 1.0f;

    DotModifierArea(float x, float y, float size, float value, float duration);

    void Tick(NQEnemy* owner, float dt) override;
};
