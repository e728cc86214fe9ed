#pragma once

// A teleporting tower's hit: the enemy is held for the duration, then sent
// back to the start of its route between two portals.
#include "Game/Units/Modifiers/NQModifier.h"

class NQEffect;

class HoldAndTeleport : public NQModifier
{
public:
    enum Phase : int32_t
    {
        kHolding = 0,
        kTeleport = 1,
        kAfter = 2,
    };
    static constexpr float kStartPortalBelow = 1.0f;
    static constexpr float kEnemyPortalBelow = 2.0f;
    static constexpr float kAfterSeconds = 0.5f;
    static constexpr float kEnemyPortalLift = 15.0f;

    HoldAndTeleport(const std::string& name, float value, float duration, void* source);
    // The portals play to their end.
    ~HoldAndTeleport() override;
    // Wakes once more after the hold, for the teleport.
    void Update(NQEnemy* owner, float dt) override;
    void Tick(NQEnemy* owner, float dt) override;

    // Held in the map's front effects.
    NQEffect* mStartPortal = nullptr;
    NQEffect* mEnemyPortal = nullptr;

private:
    void Teleport(NQEnemy& enemy);
};
