#include "Game/Data/NQSpriteAnimation.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQSpriteSet.h"

#include <cmath>

namespace
{
constexpr int kAnchorCentre = 2;
const char* const kAnchorGroup = "s_point";
const char* const kRootGroup = "";

// A rate of 0 or below, or not a number, shows the first frame for good.
bool IsUsableRate(float rate) { return std::isfinite(rate) && rate > 0.0f; }
} // namespace

NQSpriteAnimation::NQSpriteAnimation(const std::wstring& setName, const std::wstring& animationName)
    : mSet(NQResources::Instance()->GetSpriteSet(setName)), mAnimationName(animationName), mSetName(setName)
{
    const NQSpriteSet::FrameList& anchors = mSet->GetFrames(kAnchorGroup);
    if (!anchors.empty())
    {
        mAnchorX = anchors.front()->mRect[0];
        mAnchorY = anchors.front()->mRect[1];
    }
}

int NQSpriteAnimation::GetFrameCount() const { return static_cast<int>(mSet->GetFrames(kRootGroup).size()); }

int NQSpriteAnimation::GetGroupFrameCount() const
{
    return static_cast<int>(mSet->GetFrames(base::WideToUtf8(mAnimationName)).size());
}

void NQSpriteAnimation::Advance(float dt)
{
    mTime += dt;
    if (!IsUsableRate(mRate))
        return;
    if (mTime >= static_cast<float>(GetGroupFrameCount()) / mRate)
        mTime = 0.0f;
}

NQFrameEntry* NQSpriteAnimation::GetCurrentFrame(float x, float y, float angle)
{
    const NQSpriteSet::FrameList& frames = mSet->GetFrames(base::WideToUtf8(mAnimationName));
    if (frames.empty())
        return nullptr;
    const double count = static_cast<double>(frames.size());
    double index = 0.0;
    if (IsUsableRate(mRate) && std::isfinite(mTime))
    {
        index = std::fmod(std::floor(static_cast<double>(mRate) * mTime), count);
        if (index < 0.0)
            index += count;
    }
    NQFrameEntry* frame = frames[static_cast<size_t>(index)];
    // Each frame turns about its own centre; the set's anchor lands on (x, y).
    frame->mTransform.SetIdentity();
    frame->mTransform.RotateDegrees(angle);
    frame->mTransform.Translate(x - mAnchorX + frame->mRect[0] + frame->mRect[2] / 2.0f,
                                y - mAnchorY + frame->mRect[1] + frame->mRect[3] / 2.0f);
    return frame;
}

void NQSpriteAnimation::Draw(render::Graphics* graphics, float x, float y, float angle)
{
    if (!graphics)
        return;
    NQFrameEntry* frame = GetCurrentFrame(x, y, angle);
    if (!frame || !frame->mPicture)
        return;
    auto record = graphics->DrawImage(*frame->mPicture).Transform(frame->mTransform);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
}
