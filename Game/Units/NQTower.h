#pragma once

// A tower standing on a build spot: it picks an enemy in reach, turns in
// 11.25-degree sectors and fires when it faces it; its abilities (income,
// boosting, revealing) are modifiers it owns.
#include "Game/Data/ProtoCache.h"

#include <cstdint>
#include <vector>

namespace math
{
class Transform2D;
}
namespace render
{
class Graphics;
}

class NQAnimatedSprite;
class NQBeamParticle;
class NQEnemy;
class NQFrameEntry;
class NQModifier;
class NQTowerSpecial;
class NQUnitProto;

class NQTower
{
public:
    enum State : int32_t
    {
        kIdle = 0,
        kTurning = 1,
        kFiring = 3,
        kTracking = 4,
        kHolding = 5,
        kLobbedWait = 7,
        kPause = 9,
    };

    static constexpr float kSectorDegrees = 11.25f;
    static constexpr int32_t kSectorCount = 32;
    static constexpr float kFadeInRate = 1.5f;
    static constexpr float kTurnDegreesPerSecond = 360.0f;
    static constexpr float kIdlePause = 3.0f;
    static constexpr float kHoldSeconds = 0.2f;
    // How far beyond its reach a tower keeps turning towards enemies.
    static constexpr int32_t kTrackingMargin = 100;
    static constexpr float kDebuffReloadFactor = 1.5f;
    static constexpr int32_t kLobbedAmmo = 2003;
    // Frames of a rotating tower's shot, whatever its "blast" frames.
    static constexpr float kRotatingShotFrames = 4.0f;

    NQTower();
    NQTower(const NQTower&) = delete;
    NQTower& operator=(const NQTower&) = delete;
    // Reads no prototype: a level reset deletes towers around sheet reloads.
    virtual ~NQTower();

    // Level 0 on the base prototype, a new empty bonus record, then Setup.
    void SetProto(NQUnitProto* base);
    // The abilities of the current prototype, and the boosters first in the
    // map's tower list.
    void Setup();
    // -1: the prototype of the tower's level (the base at 0, the last child
    // when none matches); else the child with that levelid. Null when none.
    NQUnitProto* GetProto(int32_t levelid) const;
    void Update(float dt);
    // The tower's body in its current frame.
    void Draw(render::Graphics* graphics);
    // The body into the level's ground list; the target line while debugging.
    void QueueDraw(render::Graphics* graphics);
    // Level marks, specials and the boost mark, in screen space.
    void DrawOverlay(render::Graphics* graphics);
    // The direction sector of an angle in degrees: 31 at 0 and at 360.
    static int32_t GetSector(float angle);
    // The current frame with its transform; null when there is none to draw.
    NQFrameEntry* PlaceCurrentFrame(math::Transform2D& transform);
    // The enemies strictly closer than the reach + extra.
    void GetEnemiesInRange(std::vector<NQEnemy*>& out, int32_t extra) const;
    NQEnemy* ChooseTarget(const std::vector<NQEnemy*>& list, NQEnemy* current, bool preferSelection) const;
    void SnapAngle(float angle);
    void Launch();
    // No target, idle; a beam still playing is stopped and let go.
    void ClearTarget();
    void PayIncome();
    // One in-place upgrade, bought from the ring.
    void UpgradeInPlace();
    // Upgrades to the child with that levelid, or asks for gems when gold is short.
    void UpgradeTo(int32_t level, float price);
    float GetReach() const;
    // The spot's parameter; 0 without a spot or parameter.
    float GetSpotParam(const char* name) const;
    // The spot's "radius_mult", 1 when 0.
    float GetRadiusMult() const;

    // Set by the boost spell: the enemies' tower auras do not reach the tower.
    uint8_t mHammerMark = 0;
    float mExtentW = 0.0f;
    float mExtentH = 0.0f;
    int32_t mState = kPause;
    float mX = 0.0f;
    float mY = 0.0f;
    float mAnchorX = 0.0f;
    float mAnchorY = 0.0f;
    float mOpacity = 0.0f;
    float mFadeRate = kFadeInRate;
    // Owned by the map's particle list.
    NQBeamParticle* mBeam = nullptr;
    float mTargetAngle = 0.0f;
    float mAngle = 0.0f;
    // The sector of the current angle, set by the drawing.
    int32_t mDirection = 0;
    float mAnimTime = 0.0f;
    bool mDisabled = false;
    bool mDebuffed = false;
    bool mBoosted = false;
    // Owned by the map's sprite list while set.
    NQAnimatedSprite* mDisabledSprite = nullptr;
    NQAnimatedSprite* mDebuffSprite = nullptr;
    NQEnemy* mTarget = nullptr;
    NQFrameEntry* mSpotFrame = nullptr;
    NQUnitProto* mBaseProto = nullptr;
    // Owned: what boosts and upgrades add this frame.
    NQUnitProto* mBonus = nullptr;
    int32_t mTierCount = 0;
    int32_t mLevel = 0;
    // Owned.
    std::vector<NQTowerSpecial*> mSpecials;
    // Owned.
    std::vector<NQModifier*> mModifiers;
    float mPauseTimer = 0.0f;
    float mReloadTimer = 0.0f;

private:
    void UpdateAuras(bool blocked, bool debuffed);
    // The in-place upgrades bought, added to the bonus every frame.
    void AddTierBonus();
    // Steps 7 to 9: false when the tower is still turning.
    bool Turn(float dt, int32_t targetSector);
    void UpdateState(const NQUnitProto& proto, float dt, int32_t targetSector);
    void Fire(const NQUnitProto& proto);
    void UpdateModifiers(float dt);
    void CastBeam(const NQUnitProto& proto);

    // The database's prototype of the base prototype's id, kept until the
    // sheets reload or the base changes.
    ProtoCache mDatabaseProto;
};
