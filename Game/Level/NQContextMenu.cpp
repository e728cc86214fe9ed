#include "Game/Level/NQContextMenu.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/GameSounds.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenuItem.h"

#include <algorithm>
#include <cmath>

namespace
{
// The base towers keep their places around a ring away from the borders.
struct FixedAngle
{
    int32_t id;
    float angle;
};
constexpr FixedAngle kFixedAngles[] = {{10000, 270.0f}, {20000, 180.0f}, {30000, 0.0f}, {40000, 90.0f}};

// What the drawing puts around an item's centre: its 64-px picture, its
// price above, its ability icons 35 below.
constexpr float kIconHalf = 32.0f;
constexpr float kPriceHalfWidth = 40.0f;
constexpr float kPriceHalfHeight = 22.0f;
constexpr float kAbilityReach = 47.0f;
// Two passes: a shift may change which border rule applies.
constexpr int kKeepWithinPasses = 2;
} // namespace

NQContextMenu::NQContextMenu()
{
    PlaySoundTag(L"context_in");
    NQTutorial::Instance()->OnEvent(L"tower_select");
}

NQContextMenu::~NQContextMenu()
{
    base::DeleteAll(mItems);
}

NQContextMenuItem* NQContextMenu::AddItem(int32_t index, int32_t key)
{
    auto* item = new NQContextMenuItem(index, key);
    mItems.push_back(item);
    return item;
}

void NQContextMenu::Update(float dt)
{
    mFadeTime += dt;
    if (mFadeTime <= kFadeSeconds)
        return;
    if (mState == kOpening)
    {
        mFadeTime = 0.0f;
        mState = kOpen;
    }
    else if (mState == kClosing)
    {
        mActive = 0;
        mState = kOpen;
    }
}

void NQContextMenu::Close()
{
    // A second close would restart the fade and play the sound again.
    if (mState == kClosing)
        return;
    PlaySoundTag(L"context_out");
    mState = kClosing;
    mFadeTime = 0.0f;
}

int32_t NQContextMenu::HitTest(int x, int y)
{
    // Nothing can be chosen while the ring grows or shrinks.
    if (mItems.empty() || mState != kOpen)
        return -1;
    const float reach = kRadius * GetScale();
    for (NQContextMenuItem* item : mItems)
    {
        const float a = item->mAngle * kPi / 180.0f;
        const float dx = float(x) - (mCenterX + std::sin(a) * reach);
        const float dy = float(y) - (mCenterY + std::cos(a) * reach);
        if (std::sqrt(dx * dx + dy * dy) < kHitRadius)
        {
            mHoveredItem = item;
            return item->mKey;
        }
    }
    mHoveredItem = nullptr;
    return -1;
}

float NQContextMenu::GetItemPrice(int32_t key) const
{
    for (const NQContextMenuItem* item : mItems)
        if (item->mKey == key)
            return item->mPrice;
    return 0.0f;
}

float NQContextMenu::GetFadeFactor() const
{
    if (mState == kOpening)
        return mFadeTime / kFadeSeconds;
    if (mState == kClosing)
        return 1.0f - mFadeTime / kFadeSeconds;
    return 1.0f;
}

bool NQContextMenu::IsNearBorder() const
{
    return mCenterY < kBorderTop || mCenterY > kBorderBottom || mCenterX < kBorderLeft || mCenterX > kBorderRight;
}

float NQContextMenu::GetScale() const
{
    return IsNearBorder() ? kBorderScale : 1.0f;
}

void NQContextMenu::GetArc(float& start, float& end) const
{
    start = mStartAngle;
    end = mEndAngle;
    if (mCenterY < kBorderTop)
    {
        start = 270.0f;
        end = 450.0f;
    }
    if (mCenterY > kBorderBottom)
    {
        start = 90.0f;
        end = 270.0f;
    }
    if (mCenterX < kBorderLeft)
    {
        start = 0.0f;
        end = 180.0f;
    }
    if (mCenterX > kBorderRight)
    {
        start = 180.0f;
        end = 360.0f;
    }
}

float NQContextMenu::GetItemAngle(size_t index) const
{
    const bool nearBorder = IsNearBorder();
    float start = 0.0f;
    float end = 0.0f;
    GetArc(start, end);
    const int divisions = int(mItems.size()) - (nearBorder ? 1 : 0);
    const float step = divisions == 0 ? 0.0f : (end - start) / float(divisions);
    const NQUnitProto* proto = index < mItems.size() ? mItems[index]->mProto : nullptr;
    if (!nearBorder && proto)
        for (const FixedAngle& fixed : kFixedAngles)
            if (proto->id == fixed.id)
                return fixed.angle;
    return start + float(index) * step;
}

void NQContextMenu::KeepWithin(float left, float top, float right, float bottom)
{
    for (int pass = 0; pass < kKeepWithinPasses && !mItems.empty(); ++pass)
    {
        const float reach = kRadius * GetScale();
        float x0 = mCenterX;
        float y0 = mCenterY;
        float x1 = mCenterX;
        float y1 = mCenterY;
        for (size_t i = 0; i < mItems.size(); ++i)
        {
            const float a = GetItemAngle(i) * kPi / 180.0f;
            const float px = mCenterX + std::sin(a) * reach;
            const float py = mCenterY + std::cos(a) * reach;
            const float priceY = py - kPriceLift;
            const bool abilities = mItems[i]->mProto && !mItems[i]->mProto->addonNames.empty();
            x0 = std::min({x0, px - kIconHalf, px - kPriceHalfWidth});
            x1 = std::max({x1, px + kIconHalf, px + kPriceHalfWidth});
            y0 = std::min({y0, py - kIconHalf, priceY - kPriceHalfHeight});
            y1 = std::max(y1, py + (abilities ? kAbilityReach : kIconHalf));
        }
        const float dx = x0 < left ? left - x0 : x1 > right ? right - x1 : 0.0f;
        const float dy = y0 < top ? top - y0 : y1 > bottom ? bottom - y1 : 0.0f;
        if (dx == 0.0f && dy == 0.0f)
            return;
        mCenterX += dx;
        mCenterY += dy;
    }
}
