#include "Game/Units/NQCrystallSpecial.h"

#include "Game/Data/NQResources.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Game.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/NQEnemy.h"

#include <algorithm>

namespace
{
constexpr float kOverrideEveryDrop = 1.0f;
}

NQCrystallSpecial::NQCrystallSpecial(const NQEnemy* enemy)
{
    mShadow = NQResources::Instance()->FindFrame(L"nq/shadows", std::wstring(), L"shadows/money_shadow");
    mAnimation = new NQSpriteAnimation(L"nq/crystall", std::wstring());
    mAnimation->mRate = kAnimationRate;
    mStartX = enemy->mDrawX;
    mStartY = enemy->mDrawY;
    const NQMap* map = Game::GetMap();
    if (map && map->mDropChanceOverride == kOverrideEveryDrop)
    {
        mTargetX = kOverrideX;
        mTargetY = kOverrideY;
        mState = kLying;
        mProgress = 1.0f;
    }
    else
    {
        const CurvePoint target = RandomPointInRing(mStartX, mStartY, kRingOuter, kRingInner);
        mTargetX = target.x;
        mTargetY = target.y;
    }
    mControlX = mStartX + (mTargetX - mStartX) * 0.5f;
    mControlY = std::min(mStartY, mTargetY) - kControlLift;
    UpdatePosition();
}

void NQCrystallSpecial::SetState(int32_t state)
{
    NQGoldSpecial::SetState(state);
    if (state == kCollected)
        NQTutorial::Instance()->OnEvent(L"gem_collected");
}
