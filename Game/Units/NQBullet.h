#pragma once

// A tower's shot on its way to an enemy: homing, straight, lobbed (ammo
// 2003) or the instant hit of a teleport beam.
#include <cstdint>
#include <vector>

namespace render
{
class ParticleEmitter;
}

class NQEnemy;
class NQSpriteAnimation;
class NQTower;
class NQUnitProto;

class NQBullet
{
public:
    enum Phase : int32_t
    {
        kRising = 0,
        kOnArc = 1,
        kLanded = 4,
    };

    // Homing and straight shots hit within this distance of their mark.
    static constexpr float kHitDistance = 10.0f;
    static constexpr float kRiseSeconds = 0.5f;
    static constexpr float kArcSeconds = 1.0f;
    static constexpr float kArcLift = 35.0f;
    static constexpr float kLobbedStartLift = 15.0f;
    static constexpr float kTeleportSpeed = -1.0f;

    // A null tower makes a bullet without prototype (spells).
    NQBullet(NQTower* tower, NQEnemy* target);
    NQBullet(const NQBullet&) = delete;
    NQBullet& operator=(const NQBullet&) = delete;
    virtual ~NQBullet();

    virtual void Update(float dt);
    // The ammo's hit sound and effect at the point; nothing without "onHit".
    void OnHit(float x, float y);
    // The ammo prototype of the tower's prototype; null when none.
    NQUnitProto* GetAmmo() const;

    int32_t mPhase = kRising;
    float mNearX = 0.0f;
    float mNearY = 0.0f;
    float mFarX = 0.0f;
    float mFarY = 0.0f;
    float mLandX = 0.0f;
    float mLandY = 0.0f;
    float mPhaseTime = 0.0f;
    float mArcStartX = 0.0f;
    float mArcStartY = 0.0f;
    float mArcControlX = 0.0f;
    float mArcControlY = 0.0f;
    float mArcEndX = 0.0f;
    float mArcEndY = 0.0f;
    // The firing tower's current prototype, from the database.
    NQUnitProto* mTowerProto = nullptr;
    float mAimX = 0.0f;
    float mAimY = 0.0f;
    // Owned; only for ammo 2003.
    NQSpriteAnimation* mLobbed = nullptr;
    // Owned; the ammo's "onAmmo" effect, null when none.
    render::ParticleEmitter* mEmitter = nullptr;
    int32_t mAlive = 1;
    NQTower* mTower = nullptr;
    // Not owned; null once the enemy went.
    NQEnemy* mTarget = nullptr;
    float mAnimTime = 0.0f;
    float mAngle = 0.0f;
    // The enemies already hit (spells).
    std::vector<NQEnemy*> mHits;
    float mDirX = 0.0f;
    float mDirY = 0.0f;
    float mX = 0.0f;
    float mY = 0.0f;
    float mSpeed = 0.0f;

private:
    // False while the lobbed shot is still in the air.
    bool UpdateLobbed(float dt);
    void UpdateHoming(float dt);
    void UpdateStraight(float dt);
    void WrapShotAnimation(const NQUnitProto* ammo);
    void UpdateEmitter(float dt);
};
