#pragma once

// A summoning portal on the map: where its shaman stood when it opened, it
// sends a summoned unit onto the shaman's road at every tick.
#include "Game/NQModifier.h"

#include <vector>

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
    int32_t mRouteIndex = 0;
    float mProgress = 0.0f;
    float mLinkLength = 0.0f;
    float mLinkTime = 0.0f;
    NQPoint* mCurrentPoint = nullptr;
    std::vector<int32_t> mRoute;
    float mX = 0.0f;
    float mY = 0.0f;
    // The layout y of the shaman's entry.
    float mLane = 0.0f;
    // In the level's front effects, held while the portal lives.
    NQEffect* mEffect = nullptr;
};
