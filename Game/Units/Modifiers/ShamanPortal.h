#pragma once

// A summoning portal on the map: where its shaman stood when it opened, it
// sends a summoned unit onto the shaman's road at every tick.
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQEnemy.h"

class NQEffect;
class NQPoint;
class NQWaveProto;

class ShamanPortal : public NQModifier
{
public:
    ShamanPortal(NQEnemy* shaman, float duration);
    // Its effect plays to its end and is let go.
    ~ShamanPortal() override;

    // The effect advances, then the base rule.
    void Update(NQEnemy* owner, float dt) override;
    void Tick(NQEnemy* owner, float dt) override;

    // Not owned; cleared when the level forgets the shaman.
    NQEnemy* mShaman = nullptr;
    NQWaveProto* mWave = nullptr;
    // The shaman's walk when the portal opened.
    NQEnemy::Walk mSnapshot;
    // The layout y of the shaman's entry.
    float mLane = 0.0f;
    // In the level's front effects, held while the portal lives.
    NQEffect* mEffect = nullptr;
};
