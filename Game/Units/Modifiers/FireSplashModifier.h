#pragma once

// Burning ground on the map: damage to every enemy in its area at every tick.
#include "Game/Units/Modifiers/NQModifier.h"

class FireSplashModifier : public NQModifier
{
public:
    FireSplashModifier(const std::string& name, float value, float duration, void* source, float x, float y,
                       float size);

    void Tick(NQEnemy* owner, float dt) override;
};
