#pragma once

// A tower's gold income: the tower pays once per period.
#include "Game/Units/Modifiers/NQModifier.h"

class NQTower;

class GoldIncomerModifier : public NQModifier
{
public:
    GoldIncomerModifier(float period, NQTower* tower);
    void Tick(NQEnemy* owner, float dt) override;
};
