// An enemy's picture queued into the level's world lists, and its overlay.
#include "Game/Units/NQEnemy.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/DecimalText.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/TMobShader.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr int kGroundBodies = 1;
constexpr int kGroundShadows = 2;
constexpr int kFlyerBodies = 3;
constexpr int kFlyerShadows = 4;
constexpr float kSingleScale = 0.5f;
constexpr float kShadowOffsetX = 5.0f;
constexpr float kFlyerShadowOffsetY = 15.0f;
constexpr float kGroundShadowOffsetY = 5.0f;
constexpr float kBarHeightFactor = 0.75f;
// The bar fades out over its last half second.
constexpr float kBarFadeSeconds = 0.5f;
constexpr float kDebugTextScale = 0.5f;
constexpr float kColourScale = 255.0f;

float Channel(uint32_t argb, int shift)
{
    return float((argb >> shift) & 0xFFu) / kColourScale;
}
} // namespace

void NQEnemy::QueueDraw(render::Graphics* graphics)
{
    NQMap* map = Game::GetMap();
    const NQUnitProto* proto = GetProto();
    if (!map || !proto || !proto->spriteSet)
        return;
    NQSpriteSet& set = *proto->spriteSet;
    const bool frozen = proto->ice || proto->stone;
    const char* group = nullptr;
    if (mState == kDying || (mState == kTeleportHeld && !frozen))
        group = "death";
    else if (mState == kWalking || mState == kTeleportHeld)
        group = "walk";
    else if (mState == kSpecial)
        group = "special";
    if (!group)
        return; // a fading enemy is gone from view
    const NQSpriteSet::FrameList& frames = set.GetFrames(group);
    if (frames.empty())
    {
        // A set without that animation shows its single picture at once.
        if (set.mPicture && graphics)
        {
            math::Transform2D at;
            at.Scale(kSingleScale, kSingleScale);
            at.Translate(mDrawX, mDrawY);
            auto record = graphics->DrawImage(*set.mPicture).Transform(at);
        }
        return;
    }
    int32_t index = 0;
    if (mState == kTeleportHeld && !frozen)
    {
        // The held flicker between the second and third frames draws from the random sequence.
        index = int32_t(math::Random(0) + 0.5f) + 1;
        mAnimTime = 0.0f;
    }
    else
        index = int32_t(std::floor(mAnimTime * proto->fps));
    NQFrameEntry* frame = frames[size_t(std::clamp(index, 0, int32_t(frames.size()) - 1))];
    mLastDrawnFrame = frame;
    if (!frame->mPicture)
        return;

    const float m = mFacingLeft ? 1.0f : -1.0f;
    float rootX = 0.0f;
    float rootY = 0.0f;
    if (const NQSpriteSet::FrameList& root = set.GetFrames(""); !root.empty())
    {
        rootX = root.front()->mRect[0];
        rootY = root.front()->mRect[1];
    }
    const float w = mExtentW;
    const float h = mExtentH;
    auto* entry = new NQFrameEntry;
    entry->mPicture = frame->mPicture;
    entry->mTransform.RotateDegrees(mDeathSpin * m);
    entry->mTransform.Translate(-frame->mRect[2] * m / 2.0f, frame->mRect[3] / 2.0f);
    entry->mTransform.Translate(-frame->mRect[0] * m, frame->mRect[1]);
    entry->mTransform.Translate(w / 2.0f * m, -h / 2.0f);
    entry->mTransform.Translate(mDrawX - (w / 2.0f - rootX) * m, h / 2.0f - rootY + mDrawY + mFallDrop);
    if (Game* game = Game::Get())
        entry->mShader = game->GetMobShader();
    const uint32_t fill = proto->fillColor;
    entry->mShaderColor[0] = Channel(fill, 16);
    entry->mShaderColor[1] = Channel(fill, 8);
    entry->mShaderColor[2] = Channel(fill, 0);
    entry->mShaderColor[3] = Channel(fill, 24);
    entry->mMirrored = mFacingLeft ? 1 : 0;
    const float alpha = mAlpha * mOpacity;
    entry->mColor[3] = alpha;
    entry->mDepth = mDrawY;
    if (graphics)
        graphics->SetColor(1.0f, 1.0f, 1.0f, alpha);

    const bool upper = proto->air || mUpper != 0.0f;
    std::vector<NQFrameEntry*>& bodies = map->mDrawQueues[upper ? kFlyerBodies : kGroundBodies];
    std::vector<NQFrameEntry*>& shadows = map->mDrawQueues[upper ? kFlyerShadows : kGroundShadows];
    bodies.push_back(entry);
    if (!mShadow)
        return; // no shadow picture
    auto* shadow = new NQFrameEntry;
    shadow->mPicture = mShadow;
    shadow->mColor[3] = alpha;
    if (proto->air)
        shadow->mTransform.Translate(mDrawX + kShadowOffsetX, mDrawY + kFlyerShadowOffsetY);
    else
    {
        const int shadowWidth = mShadow->GetWidth();
        const float scale = shadowWidth > 0 ? float(frame->mPicture->GetWidth()) / float(shadowWidth) : 1.0f;
        shadow->mTransform.Scale(scale, scale);
        shadow->mTransform.Translate(mDrawX + kShadowOffsetX, mDrawY + kGroundShadowOffsetY);
    }
    shadows.push_back(shadow);
}

void NQEnemy::DrawOverlay(render::Graphics* graphics)
{
    NQMap* map = Game::GetMap();
    if (!map || !graphics)
        return;
    const float maxHealth = GetMaxHealth();
    if (map->mDebugFlags[2])
    {
        const std::wstring text = DecimalText(int32_t(mHealth)) + L"/" + DecimalText(int32_t(maxHealth));
        math::Transform2D at;
        at.Scale(kDebugTextScale, kDebugTextScale);
        at.Translate(mDrawX, mDrawY);
        {
            auto record = graphics->DrawText(text).Transform(at);
        }
        Bounds bounds;
        if (GetBounds(bounds))
        {
            // The bounds are centred on (x, y).
            const float left = bounds.x - bounds.w / 2.0f;
            const float top = bounds.y - bounds.h / 2.0f;
            const float a[2] = {left, top};
            const float b[2] = {left + bounds.w, top};
            const float c[2] = {left, top + bounds.h};
            graphics->DrawLine(a, b);
            graphics->DrawLine(a, c);
        }
    }
    // Drawing never changes the enemy: a negative health is shown as 0.
    const float health = std::max(mHealth, 0.0f);
    if (mHealthBarTimer <= 0.0f || mHealth == maxHealth || mHealth == 0.0f || mState == kDying ||
        mState == kFading || !map->mBarPicture || maxHealth <= 0.0f)
        return;
    render::Image* bar = map->mBarPicture;
    const float x = mDrawX * map->mZoom + map->mViewOffsetX - float(bar->GetWidth()) / 2.0f;
    const float y = mDrawY * map->mZoom + map->mViewOffsetY - map->mZoom * kBarHeightFactor * mExtentH;
    const float alpha = mHealthBarTimer < kBarFadeSeconds ? mHealthBarTimer * 2.0f : 1.0f;
    graphics->SetColor(1.0f, 0.0f, 0.0f, alpha);
    {
        math::Transform2D at;
        at.Translate(x, y);
        auto record = graphics->DrawImage(*bar).Transform(at);
    }
    graphics->SetColor(0.0f, 1.0f, 0.0f, alpha);
    math::Transform2D at;
    at.Scale(health / maxHealth, 1.0f);
    at.Translate(x, y);
    auto record = graphics->DrawImage(*bar).Transform(at);
}
