#pragma once

// The burst of a homing shot that lost its target: damage around the shot at
// once, then it ends at its first update.
#include "Game/Units/Modifiers/NQModifier.h"

class NQBullet;

class BlastModifier : public NQModifier
{
public:
    explicit BlastModifier(NQBullet* bullet);
};
