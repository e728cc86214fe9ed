// A tower's picture, queued into the level's world list or drawn at once,
// and its overlays.
#include "Game/Units/NQTower.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTowerSpecial.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kAnchorCentre = 2;
constexpr int kGroundBodies = 1;
constexpr int32_t kLastSector = NQTower::kSectorCount - 1;
constexpr int32_t kFramesPerSector = 4;
constexpr int32_t kMostLevelMarks = 12;
constexpr float kLevelMarkOffsetX = 15.0f;
constexpr float kBoostMarkOffsetY = 50.0f;

// The frame at the index clamped into the group; null for an empty group.
NQFrameEntry* ClampedFrame(const NQSpriteSet::FrameList& frames, int32_t index)
{
    if (frames.empty())
        return nullptr;
    return frames[size_t(std::clamp(index, 0, int32_t(frames.size()) - 1))];
}

void DrawCentred(render::Graphics* graphics, render::Image* picture, float x, float y)
{
    if (!picture)
        return; // a missing interface picture is skipped
    math::Transform2D at;
    at.Translate(x, y);
    auto record = graphics->DrawImage(*picture).Transform(at);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
}
} // namespace

int32_t NQTower::GetSector(float angle)
{
    const int32_t k = kLastSector - int32_t(std::floor(angle / kSectorDegrees));
    return k < 0 ? kLastSector : k;
}

NQFrameEntry* NQTower::PlaceCurrentFrame(math::Transform2D& transform)
{
    const NQUnitProto* proto = GetProto(-1);
    if (!proto || !proto->spriteSet)
        return nullptr;
    const NQSpriteSet& set = *proto->spriteSet;
    const int32_t k = GetSector(mAngle);
    const int32_t step = int32_t(std::floor(mAnimTime * proto->fps));
    NQFrameEntry* frame = nullptr;
    if (proto->rotating)
    {
        mDirection = k;
        const int32_t first = k * kFramesPerSector;
        frame = ClampedFrame(set.GetFrames(""), mState == kFiring ? first + step : first);
    }
    else if (mState == kFiring)
        frame = ClampedFrame(set.GetFrames("blast"), step);
    else if (mState == kLobbedWait)
        frame = ClampedFrame(set.GetFrames("blast"), step - 1);
    else
    {
        const NQSpriteSet::FrameList& idle = set.GetFrames("idle");
        frame = ClampedFrame(idle, step < int32_t(idle.size()) ? step : 0);
    }
    if (!frame)
        return nullptr; // an empty group draws nothing

    const float w = mExtentW;
    const float h = mExtentH;
    transform.SetIdentity();
    transform.Translate(frame->mRect[2] / 2.0f, frame->mRect[3] / 2.0f);
    transform.Translate(frame->mRect[0], frame->mRect[1]);
    transform.Scale(1.0f, 1.0f);
    transform.Translate(-w / 2.0f, -h / 2.0f);
    const NQSpriteSet::FrameList& base = set.GetFrames("base_point");
    if (base.empty())
        transform.Translate(mAnchorX, mAnchorY - h / 2.0f);
    else
        transform.Translate(w / 2.0f - base.front()->mRect[0] + mAnchorX,
                            h / 2.0f - base.front()->mRect[1] + mAnchorY);
    return frame;
}

void NQTower::QueueDraw(render::Graphics* graphics)
{
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    math::Transform2D transform;
    NQFrameEntry* frame = PlaceCurrentFrame(transform);
    if (frame && frame->mPicture)
    {
        auto* entry = new NQFrameEntry;
        entry->mPicture = frame->mPicture;
        entry->mTransform = transform;
        entry->mColor[3] = mOpacity;
        entry->mDepth = mAnchorY;
        map->mDrawQueues[kGroundBodies].push_back(entry);
    }
    if (map->mDebugFlags[0] && mTarget && graphics)
    {
        const float from[2] = {mX, mY};
        const float to[2] = {mTarget->mX, mTarget->mY};
        graphics->DrawLine(from, to);
    }
}

void NQTower::Draw(render::Graphics* graphics)
{
    math::Transform2D transform;
    NQFrameEntry* frame = PlaceCurrentFrame(transform);
    if (!graphics || !frame || !frame->mPicture)
        return; // nothing to show
    graphics->SetColor(1.0f, 1.0f, 1.0f, mOpacity);
    auto record = graphics->DrawImage(*frame->mPicture).Transform(transform);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
}

void NQTower::DrawOverlay(render::Graphics* graphics)
{
    NQMap* map = Game::GetMap();
    if (!map || !graphics)
        return;
    const float x = mX * map->mZoom + map->mViewOffsetX;
    const float y = mY * map->mZoom + map->mViewOffsetY;
    const NQUnitProto* proto = GetProto(-1);
    if (proto && proto->stars > 0)
    {
        render::Image* mark = proto->stars == 1 ? map->mLevel2Mark : map->mLevel3Mark;
        const int32_t times = std::min(proto->stars, kMostLevelMarks);
        const float markX = (mX + kLevelMarkOffsetX) * map->mZoom + map->mViewOffsetX;
        for (int32_t i = 0; i < times; ++i)
            DrawCentred(graphics, mark, markX, y);
    }
    for (NQTowerSpecial* special : mSpecials)
        special->Draw(graphics);
    if (mBoosted)
        DrawCentred(graphics, map->mPowerBuffPicture, x,
                    (mY - kBoostMarkOffsetY) * map->mZoom + map->mViewOffsetY);
}
