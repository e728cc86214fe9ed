#include "Game/Units/NQGoldSpecial.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Roads/BezierCurve.h"

namespace
{
constexpr int kAnchorCentre = 2;
// The shadow fades in over the last fifth of the flight out.
constexpr float kShadowFadeStart = 0.8f;
constexpr float kShadowFadeSpan = 0.2f;
constexpr float kShadowDrop = 5.0f;

void DrawShadow(render::Graphics* graphics, const NQFrameEntry* shadow, float x, float y)
{
    if (!shadow || !shadow->mPicture)
        return;
    auto record = graphics->DrawImage(*shadow->mPicture);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
    const float at[2] = {x, y};
    auto placed = record.Translate(at);
}
} // namespace

NQGoldSpecial::~NQGoldSpecial() { delete mAnimation; }

void NQGoldSpecial::Update(float dt)
{
    if (mAnimation)
        mAnimation->Advance(dt);
    switch (mState)
    {
    case kFlyingOut:
        mProgress += dt;
        if (mProgress > 1.0f)
        {
            mState = kLying;
            mProgress = 1.0f;
        }
        break;
    case kLying:
        mProgress += dt;
        break;
    case kCollected:
        mProgress += kCollectedRate * dt;
        if (mProgress > 1.0f)
            mAlive = false;
        break;
    default:
        break;
    }
}

void NQGoldSpecial::SetState(int32_t state)
{
    if (state == kCollected)
    {
        mStartX = mTargetX;
        mStartY = mTargetY;
        mTargetX = kCounterX;
        mTargetY = kCounterY;
        // A pause of up to 0.2 s before the flight.
        mProgress = -math::Random(0);
    }
    NQTowerSpecial::SetState(state);
}

void NQGoldSpecial::UpdatePosition()
{
    if (mProgress < 0.0f)
    {
        mX = mStartX;
        mY = mStartY;
    }
    else if (mProgress > 1.0f)
    {
        mX = mTargetX;
        mY = mTargetY;
    }
    else
    {
        const CurvePoint point =
            BezierPoint({mStartX, mStartY}, {mControlX, mControlY}, {mTargetX, mTargetY}, mProgress);
        mX = point.x;
        mY = point.y;
    }
}

void NQGoldSpecial::Draw(render::Graphics* graphics)
{
    UpdatePosition();
    if (!graphics)
        return;
    if (mState == kFlyingOut && mProgress > kShadowFadeStart && mProgress < 1.0f)
    {
        graphics->SetColor(1.0f, 1.0f, 1.0f, (mProgress - kShadowFadeStart) / kShadowFadeSpan);
        DrawShadow(graphics, mShadow, mTargetX, mTargetY + kShadowDrop);
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (mState == kLying)
        DrawShadow(graphics, mShadow, mTargetX, mTargetY + kShadowDrop);
    if (mAnimation)
        mAnimation->Draw(graphics, mX, mY, 0.0f);
}
