// The pointer on the map: press, move and wheel. The press finishes the
// splash screens and the intro video, calls the next wave early, selects an
// enemy and carries out a choice on the open context ring.
#include "Game/Level/NQMap.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/GameSounds.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"

#include <cmath>
#include <string>

namespace
{
// Gold paid per second of wave clock skipped by an early call.
constexpr float kEarlyCallGoldPerSecond = 2.0f;
// The tutorial's input blocks under which an early call still works.
constexpr int32_t kBlockNone = 0;
constexpr int32_t kBlockAllButWaves = 3;
constexpr int kOwnedSpotPicture = 0;

// Buys the ring's spot when gold and gems both cover its prices.
void BuySpot(NQMap& map, NQFrameEntry* frame)
{
    NQSpot* spot = frame ? frame->mSpot : nullptr;
    NQLevelEconomy& economy = *map.mEconomy;
    if (!spot || economy.mGold < spot->mGoldPrice || economy.mGems < spot->mGemPrice)
        return;
    NQTutorial::Instance()->OnEvent(L"buildspot_bought");
    const float cx = std::trunc(frame->mRect[0] + frame->mRect[2] * 0.5f);
    const float cy = std::trunc(frame->mRect[1] + frame->mRect[3] * 0.5f);
    economy.SpendGold(spot->mGoldPrice);
    economy.SpendGems(spot->mGemPrice);
    const NQFrameEntry* owned = map.mDecorationSet ? map.mDecorationSet->mSpotPictures[kOwnedSpotPicture] : nullptr;
    // Without the owned picture the spot keeps its old one and its size.
    if (owned && owned->mPicture)
    {
        frame->mPicture = owned->mPicture;
        frame->mRect[2] = float(owned->mPicture->GetWidth());
        frame->mRect[3] = float(owned->mPicture->GetHeight());
    }
    spot->mOwned = true;
    frame->mRect[0] = std::trunc(cx - frame->mRect[2] * 0.5f);
    frame->mRect[1] = std::trunc(cy - frame->mRect[3] * 0.5f);
    if (map.mProgress)
        map.mProgress->AddOwnedSpot(frame->mName, map.mEpisode, map.mLevel);
    PlaySoundTag(L"buySpot");
}

// The choice under the point on the open ring, which then closes; a build
// that could not be paid leaves it open.
void ChooseOnRing(NQMap& map, int x, int y)
{
    NQContextMenu* ring = map.mContextMenu;
    const int32_t key = ring->HitTest(x, y);
    switch (ring->mKind)
    {
    case NQContextMenu::kTowerRing:
    case NQContextMenu::kTierRing:
        if (NQTower* tower = ring->mTower; tower && key > 0)
        {
            // The in-place count is reset by the branch upgrade itself, once it happens.
            if (tower->mBaseProto && tower->mTierCount < tower->mBaseProto->tierUpdates)
                tower->UpgradeInPlace();
            else
                tower->UpgradeTo(key, ring->GetItemPrice(key));
        }
        else if (tower && key == 0)
        {
            if (tower->mSpotFrame)
                tower->mSpotFrame->mShown = 1;
            ring->mTower = nullptr;
            map.SellTower(tower);
        }
        break;
    case NQContextMenu::kBuildRing:
        if (key > 0)
        {
            NQUnitProto* proto = map.mUnitDatabase ? map.mUnitDatabase->FindProto(key) : nullptr;
            if (!map.BuildTower(proto, ring->mSpotFrame))
                return;
            NQTutorial::Instance()->OnEvent(L"tower_built");
        }
        break;
    case NQContextMenu::kBuySpotRing:
        if (key > 0)
            BuySpot(map, ring->mSpotFrame);
        break;
    default:
        break;
    }
    ring->Close();
}
} // namespace

void NQMap::OnMouseDown(int x, int y)
{
    if (mHud)
        mHud->OnMouseMove(x, y);
    NQTutorial::Instance()->OnMouseMove(x, y);
    if (mScreenState != screen::kPlaying)
    {
        if (mHud && mScreenState == screen::kSplashScreens && mHud->Click(x, y) == L"done")
        {
            mHud->CloseTopWindow();
            mHud->ShowVideoIntro();
        }
        else if (mHud && mScreenState == screen::kIntroVideo && mHud->Click(x, y) == L"done")
        {
            mHud->CloseTopWindow();
            mHud->ShowMainMenu();
        }
        if (mHud)
            mHud->OnMouseDown(x, y);
        return;
    }

    const int ix = int(std::trunc((float(x) - mViewOffsetX) / mZoom));
    const int iy = int(std::trunc((float(y) - mViewOffsetY) / mZoom));
    if (mWaveHints && mWaveHints->HitTest(ix, iy))
    {
        const int32_t block = mHud ? mHud->mBlockUI : kBlockNone;
        // The tutorial holds the waves back: the press does nothing at all.
        if (block != kBlockNone && block != kBlockAllButWaves)
            return;
        NQTutorial::Instance()->OnEvent(L"wave_forced");
        PlaySoundTag(L"simple");
        const float clock = mWaveManager ? mWaveManager->mClock : 0.0f;
        const int32_t bonus = math::TruncateToInt32((mWaveHints->mNextWaveTime - clock) * kEarlyCallGoldPerSecond);
        mEconomy->AddGold(bonus);
        if (mWaveManager)
            mWaveManager->SetClock(mWaveHints->mNextWaveTime);
        if (mFloatingIcons)
            mFloatingIcons->Spawn(float(x), float(y), NQFloatingIcons::kCoin)->text = L"+ " + std::to_wstring(bonus);
        mWaveHints->Clear();
        NQTutorial::Instance()->OnEvent(L"wave_started");
    }
    if (mWaveManager)
        if (NQEnemy* enemy = mWaveManager->EnemyAt(float(ix), float(iy)))
            mSelectedEnemy = enemy;
    if (mContextMenu && mContextMenu->mActive)
    {
        ChooseOnRing(*this, ix, iy);
        return;
    }
    if (mHud)
        mHud->OnMouseDown(x, y);
}

void NQMap::OnMouseMove(int x, int y)
{
    if (mContextMenu)
        mContextMenu->mHoveredKey = mContextMenu->HitTest(x, y);
    if (mHud)
        mHud->OnMouseMove(x, y);
    NQTutorial::Instance()->OnMouseMove(x, y);
}

void NQMap::OnMouseWheel(int delta)
{
    if (mHud)
        mHud->OnMouseWheel(delta);
}
