#pragma once

// A revealing tower's aura: the enemies strictly inside its reach are seen.
#include "Game/Units/Modifiers/NQModifier.h"

class NQTower;

class ShowInvisible : public NQModifier
{
public:
    explicit ShowInvisible(NQTower* tower);
    void Tick(NQEnemy* owner, float dt) override;
};
