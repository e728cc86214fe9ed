#pragma once

// An enemy on the road: made from a wave entry, it walks its route link by
// link (or flies straight to the goal), carries its modifiers, takes damage
// and dies with its animation, its reward and its death abilities.
#include "Game/Data/ProtoCache.h"

#include <cstdint>
#include <vector>

namespace render
{
class Graphics;
class Image;
}

class NQBullet;
class NQFrameEntry;
class NQModifier;
class NQPoint;
class NQUnitProto;
class NQWaveEntry;
struct NQPathSample;

class NQEnemy
{
public:
    enum State : int32_t
    {
        kWalking = 1,
        kDying = 2,
        kSpecial = 4,
        kTeleportHeld = 5,
        kFading = 6,
    };

    // A centre and a size in map units.
    struct Bounds
    {
        float x = 0.0f;
        float y = 0.0f;
        float w = 0.0f;
        float h = 0.0f;
    };

    // Where an enemy stands on its route: what cargo, raised and summoned
    // enemies take over from the enemy that brings them.
    struct Walk
    {
        int32_t routeIndex = 0;
        float progress = 0.0f;
        float linkLength = 0.0f;
        float linkTime = 0.0f;
        NQPoint* currentPoint = nullptr;
        std::vector<int32_t> route;
        float x = 0.0f;
        float y = 0.0f;
    };

    static constexpr float kInvisibleAlpha = 0.4f;
    static constexpr float kHealthBarSeconds = 2.5f;
    static constexpr float kFadeInRate = 1.5f;

    explicit NQEnemy(NQWaveEntry* entry);
    NQEnemy(const NQEnemy&) = delete;
    NQEnemy& operator=(const NQEnemy&) = delete;
    // Reads no prototype: a level reset deletes enemies around sheet reloads.
    virtual ~NQEnemy();

    // The unit's prototype, or the child of the level; null for an unknown unit.
    NQUnitProto* GetProto() const;
    // The unit's own prototype, whatever the level.
    NQUnitProto* GetBaseProto() const;
    float GetMaxHealth() const;
    void Update(float dt);
    // The current frame and its shadow into the level's world lists.
    void QueueDraw(render::Graphics* graphics);
    // Health bar (and developer numbers), in screen space.
    void DrawOverlay(render::Graphics* graphics);
    void OnHit(NQBullet* bullet, bool direct);
    // Negative amounts heal; nothing while dying or fading.
    void ApplyDamage(float amount);
    bool AcceptsModifier(const NQModifier* modifier) const;
    // Appends the modifier when accepted, else deletes it; true when appended.
    bool OfferModifier(NQModifier* modifier);
    void RemoveModifiersFrom(void* source);
    float GetKillBonus() const;
    // The rectangle of the last drawn frame; false before the first draw.
    bool GetBounds(Bounds& out) const;
    // Where a frame of the enemy's sprite set is drawn: its centre and size,
    // mirrored as the drawing mirrors it. The drawing and picking share it.
    Bounds PlaceFrame(const NQFrameEntry& frame) const;
    void RefreshUpper();
    void TryRaiseDead();
    Walk GetWalk() const;
    // The drawn position follows the position.
    void SetWalk(const Walk& walk);

    float mDeathSpin = 0.0f;
    float mFallDrop = 0.0f;
    float mAlpha = 1.0f;
    float mAlphaTarget = 1.0f;
    float mInvisibleTimer = 0.0f;
    // The lane path of the current link, copied from the lane table each
    // update; the samples belong to the table.
    std::vector<NQPathSample*> mPathSamples;
    float mExtentW = 0.0f;
    float mExtentH = 0.0f;
    int32_t mState = kWalking;
    int32_t mInPlay = 1;
    bool mLeaked = false;
    float mUpper = 0.0f;
    float mOpacity = 0.0f;
    float mFadeRate = kFadeInRate;
    bool mFacingLeft = false;
    // The entry's upgrade - 1; 0 is the unit's own prototype.
    int32_t mLevel = 0;
    float mAnimTime = 0.0f;
    NQWaveEntry* mEntry = nullptr;
    // Set by the drawing; null until the first draw.
    NQFrameEntry* mLastDrawnFrame = nullptr;
    NQPoint* mCurrentPoint = nullptr;
    float mLinkLength = 0.0f;
    float mLinkTime = 0.0f;
    float mProgress = 0.0f;
    std::vector<int32_t> mRoute;
    int32_t mRouteIndex = 0;
    float mPrevX = 0.0f;
    float mPrevY = 0.0f;
    float mDirX = 0.0f;
    float mDirY = 0.0f;
    // The speed taken away this frame; cleared after every frame.
    float mSlow = 0.0f;
    float mHealth = 0.0f;
    float mHealthBarTimer = 0.0f;
    float mX = 0.0f;
    float mY = 0.0f;
    float mDrawX = 0.0f;
    float mDrawY = 0.0f;
    // Owned.
    render::Image* mShadow = nullptr;
    // Owned, list order.
    std::vector<NQModifier*> mModifiers;
    float mSpeedFactorTimer = 0.0f;
    float mSpeedFactor = 1.0f;
    float mSpeedFactorTarget = 1.0f;
    // The entry's first integer, copied and not used.
    int32_t mEntryValue = 0;

private:
    void UpdateTimers(float dt);
    void Die(const NQUnitProto& proto);
    // False when the update ends with the animation step.
    bool UpdateAnimation(const NQUnitProto& proto, float dt);
    void DeleteInactiveModifiers();
    void Move(const NQUnitProto& proto, float dt);

    // The lookups of the entry's unit (and level), kept until the sheets reload.
    ProtoCache mBaseProtoCache;
    ProtoCache mProtoCache;
};
