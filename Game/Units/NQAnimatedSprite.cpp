#include "Game/Units/NQAnimatedSprite.h"

#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/NQGameServices.h"

#include <cmath>

NQAnimatedSprite::NQAnimatedSprite(const std::wstring& setName)
    : mAnimation(new NQSpriteAnimation(setName, std::wstring()))
{
    mAnimation->mRate = kRate;
}

NQAnimatedSprite::~NQAnimatedSprite() { delete mAnimation; }

void NQAnimatedSprite::SetAnchor(NQEnemy* enemy)
{
    if (enemy)
        mAnchor = enemy;
}

void NQAnimatedSprite::ForgetAnchor()
{
    if (!mAnchor)
        return;
    float x = 0.0f;
    float y = 0.0f;
    if (PlacePosition(x, y))
    {
        mX = x;
        mY = y;
    }
    mAnchor = nullptr;
    mHasLastAnchor = false;
}

float NQAnimatedSprite::GetDuration() const
{
    return static_cast<float>(mAnimation->GetFrameCount()) / mAnimation->mRate;
}

bool NQAnimatedSprite::PlacePosition(float& x, float& y)
{
    if (mAnchor && NQGameServices::Get()->GetEnemyDrawPosition(mAnchor, x, y))
    {
        mLastAnchorX = x;
        mLastAnchorY = y;
        mHasLastAnchor = true;
        return true;
    }
    if (!mHasLastAnchor)
        return false;
    x = mLastAnchorX;
    y = mLastAnchorY;
    return true;
}

void NQAnimatedSprite::Update(float dt)
{
    mStartDelay -= dt;
    // A delayed sprite's life starts with its animation: counted from
    // creation, the delay would eat into the animation and its fade.
    if (mStartDelay > 0.0f)
        return;
    mTime += dt;
    const float rate = mAnimation->mRate;
    // Bad data ends the sprite instead of dividing by zero or living for ever.
    if (!std::isfinite(rate) || rate <= 0.0f)
    {
        mVisible = 0;
        return;
    }
    const int count = mAnimation->GetFrameCount();
    if (rate * mTime > static_cast<float>(count - 1))
    {
        if (!mLoop)
        {
            mVisible = 0;
        }
        else
        {
            mTime -= static_cast<float>(count) / rate;
            mStartDelay = 0.0f;
        }
    }
    if (mStartDelay <= 0.0f)
        mAnimation->Advance(dt);
}

void NQAnimatedSprite::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    const float remaining = GetDuration() - mTime;
    if (remaining < kFadeSeconds)
    {
        const float alpha = remaining / kFadeSeconds;
        graphics->SetColor(1.0f, 1.0f, 1.0f, alpha > 0.0f ? alpha : 0.0f);
    }
    if (mStartDelay < 0.0f)
    {
        float x = mX;
        float y = mY;
        if (mAnchor)
            PlacePosition(x, y);
        mAnimation->Draw(graphics, x, y, 0.0f);
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void NQAnimatedSprite::QueueDraw()
{
    NQFrameEntry* frame = mAnimation->GetCurrentFrame(mX, mY, 0.0f);
    if (!frame)
        return;
    // A copy for this frame: the level deletes what it is handed, and two
    // sprites of one set must not share one transform.
    NQGameServices::Get()->AppendDrawFrame(new NQFrameEntry(*frame));
}
