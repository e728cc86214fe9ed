#include "Game/NQContextMenu.h"

#include "Core/Base/DeleteAll.h"
#include "Game/GameSounds.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/NQContextMenuItem.h"

#include <cmath>

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
