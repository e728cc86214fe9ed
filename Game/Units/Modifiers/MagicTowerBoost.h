#pragma once

// A booster tower's aura: the other non-booster towers within its reach get
// a share of their own damage and range.
#include "Game/Units/Modifiers/NQModifier.h"

class NQTower;

class MagicTowerBoost : public NQModifier
{
public:
    explicit MagicTowerBoost(NQTower* tower);
    void Tick(NQEnemy* owner, float dt) override;
};
