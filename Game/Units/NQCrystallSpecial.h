#pragma once

// The gem a killed enemy drops: it jumps to a spot nearby and lies there
// until it is collected.
#include "Game/Units/NQGoldSpecial.h"

class NQEnemy;

class NQCrystallSpecial : public NQGoldSpecial
{
public:
    static constexpr float kAnimationRate = 8.0f;
    static constexpr float kRingInner = 50.0f;
    static constexpr float kRingOuter = 100.0f;
    static constexpr float kControlLift = 25.0f;
    // The developer's drop override lays every gem here.
    static constexpr float kOverrideX = 200.0f;
    static constexpr float kOverrideY = 200.0f;

    explicit NQCrystallSpecial(const NQEnemy* enemy);
    void SetState(int32_t state) override;
};
