// The press on the map: splash screens and intro video, the early wave call,
// enemy selection and the choices on the context ring; and the release that
// opens, closes or replaces the ring.
#include "InputFixture.h"

#include "CallLog.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQEnemy.h"
#include "TempProfileStore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using gametest::CountCalls;
using gametest::InputTest;
namespace towers = gametest::towers;
namespace units = gametest::units;

class PressTest : public InputTest
{
protected:
    int Events(const std::wstring& name) const { return CountEvent(name); }

    void AddWaveHint(float secondsLeft)
    {
        auto* hint = new NQFrameEntry;
        hint->mRect[0] = 100;
        hint->mRect[1] = 100;
        hint->mRect[2] = 40;
        hint->mRect[3] = 30;
        map->mWaveHints->mHints.push_back(hint);
        map->mWaveHints->mNextWaveTime = Waves().mClock + secondsLeft;
    }
};

TEST_F(PressTest, EarlyCallPaysForTheSkippedTimeUnlessTheTutorialHoldsTheWaves)
{
    ASSERT_NE(map->mWaveHints, nullptr);
    for (int block : {0, 1, 2, 3})
    {
        SCOPED_TRACE(block);
        Hud()->mBlockUI = block;
        Waves().mClock = 5.0f;
        AddWaveHint(10.4f);
        const float next = map->mWaveHints->mNextWaveTime;
        Economy().mGold = 100;
        map->mFloatingIcons->Clear();
        const int simple = CountTag(L"simple");
        const int forced = Events(L"wave_forced");
        const int presses = CountCalls("HUD.OnMouseDown");
        map->OnMouseDown(120, 115);
        const bool runs = block == 0 || block == 3;
        EXPECT_EQ(CountCalls("HUD.OnMouseDown"), presses + (runs ? 1 : 0));
        if (!runs)
        {
            EXPECT_EQ(Economy().mGold, 100);
            EXPECT_EQ(map->mWaveHints->mHints.size(), 1u);
            EXPECT_EQ(CountTag(L"simple"), simple);
            map->mWaveHints->Clear();
            continue;
        }
        EXPECT_EQ(Economy().mGold, 120);
        EXPECT_EQ(Waves().mClock, next);
        EXPECT_TRUE(map->mWaveHints->mHints.empty());
        EXPECT_EQ(CountTag(L"simple"), simple + 1);
        EXPECT_EQ(Events(L"wave_forced"), forced + 1);
        ASSERT_EQ(map->mFloatingIcons->mIcons.size(), 1u);
        const NQFloatingIcon* icon = map->mFloatingIcons->mIcons[0];
        EXPECT_EQ(icon->text, L"+ 20");
        EXPECT_EQ(icon->kind, NQFloatingIcons::kCoin);
        EXPECT_EQ(icon->x, 120.0f);
        EXPECT_EQ(icon->y, 115.0f);
    }
}

TEST_F(PressTest, TheWaveMarkerGoingTellsTheTutorialCalledOrNot)
{
    // A hint at the marker has nothing to point at once the wave starts, either way.
    Waves().mClock = 5.0f;
    AddWaveHint(10.0f);
    const int started = Events(L"wave_started");
    map->OnMouseDown(120, 115);
    EXPECT_EQ(Events(L"wave_started"), started + 1);

    // The next wave runs: no other marker comes while the called one's time passes.
    Waves().Update(0.0f);
    map->mWaveHints->Clear();
    AddWaveHint(0.5f);
    Waves().Update(0.25f);
    EXPECT_EQ(map->mWaveHints->mHints.size(), 1u);
    EXPECT_EQ(Events(L"wave_started"), started + 1);
    Waves().Update(0.5f);
    EXPECT_TRUE(map->mWaveHints->mHints.empty());
    EXPECT_EQ(Events(L"wave_started"), started + 2);
    // Gone is gone: no second event for the same marker.
    Waves().Update(0.5f);
    EXPECT_EQ(Events(L"wave_started"), started + 2);
}

TEST_F(PressTest, SplashAndIntroFinishOnlyOnDone)
{
    struct Case
    {
        NQScreenState state;
        const wchar_t* name;
        const char* opened;
    };
    const Case cases[] = {
        {screen::kSplashScreens, L"done", "HUD.ShowVideoIntro"},
        {screen::kIntroVideo, L"done", "HUD.ShowMainMenu"},
        {screen::kSplashScreens, L"skip", nullptr},
        {screen::kIntroVideo, L"", nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(gametest::Narrow(c.name));
        Hud()->targets = {{c.name, -1, {0, 0, 100, 100}}};
        map->mScreenState = c.state;
        gametest::CallLog().clear();
        map->OnMouseDown(50, 50);
        EXPECT_EQ(CountCalls("HUD.CloseTopWindow"), c.opened ? 1 : 0);
        if (c.opened)
        {
            EXPECT_EQ(CountCalls(c.opened), 1);
        }
        EXPECT_EQ(CountCalls("HUD.OnMouseDown"), 1);
        const auto calls = gametest::CallLog();
        // The HUD's press comes last.
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().call, "HUD.OnMouseDown 50,50");
    }
}

TEST_F(PressTest, PressOnNothingKeepsTheSelectedEnemy)
{
    NQEnemy* enemy = SpawnNow(units::kTank);
    ASSERT_NE(enemy, nullptr);
    map->mSelectedEnemy = enemy;
    map->OnMouseDown(1000, 20);
    EXPECT_EQ(map->mSelectedEnemy, enemy);
}

TEST_F(PressTest, UnaffordableBuildKeepsTheRingOpenUntilAPressOutside)
{
    Economy().mGold = 10;
    Economy().mGems = 0;
    ReleaseOnSpot(kOpenSpot);
    ASSERT_NE(Ring(), nullptr);
    OpenFully();
    PressItem(towers::kCannon);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kOpen);
    EXPECT_TRUE(map->mTowers.empty());
    const int presses = CountCalls("HUD.OnMouseDown");
    map->OnMouseDown(10, 10);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
    // A press on the ring never reaches the HUD.
    EXPECT_EQ(CountCalls("HUD.OnMouseDown"), presses);
}

TEST_F(PressTest, BuildChoiceBuildsAndCloses)
{
    Economy().mGold = 1000;
    ReleaseOnSpot(kOpenSpot);
    OpenFully();
    PressItem(towers::kArrow);
    ASSERT_EQ(map->mTowers.size(), 1u);
    EXPECT_EQ(Economy().mGold, 920);
    EXPECT_EQ(Events(L"tower_built"), 1);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
}

TEST_F(PressTest, BuySpotNeedsBothPrices)
{
    LoadOwnedSpotPicture();
    NQFrameEntry* frame = SpotFrame(kPricedSpot);
    Economy().mGold = 30;
    Economy().mGems = 4;
    ReleaseOnSpot(kPricedSpot);
    ASSERT_EQ(Ring()->mKind, NQContextMenu::kBuySpotRing);
    OpenFully();
    PressItem(1);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
    EXPECT_FALSE(frame->mSpot->mOwned);
    EXPECT_EQ(Economy().mGold, 30);
    EXPECT_EQ(Economy().mGems, 4);
    EXPECT_EQ(CountTag(L"buySpot"), 0);
}

TEST_F(PressTest, BuySpotSpendsBothShowsTheOwnedPictureAndIsStored)
{
    LoadOwnedSpotPicture();
    NQFrameEntry* frame = SpotFrame(kPricedSpot);
    int cx = 0;
    int cy = 0;
    Centre(frame, cx, cy);
    Economy().mGold = 30;
    Economy().mGems = 5;
    ReleaseOnSpot(kPricedSpot);
    OpenFully();
    PressItem(1);
    EXPECT_EQ(Economy().mGold, 0);
    EXPECT_EQ(Economy().mGems, 0);
    EXPECT_TRUE(frame->mSpot->mOwned);
    EXPECT_EQ(frame->mPicture, ownedSpot->mPicture);
    EXPECT_EQ(frame->mRect[2], 60.0f);
    EXPECT_EQ(frame->mRect[3], 40.0f);
    EXPECT_EQ(frame->mRect[0], float(cx - 30));
    EXPECT_EQ(frame->mRect[1], float(cy - 20));
    EXPECT_EQ(CountTag(L"buySpot"), 1);
    EXPECT_EQ(Events(L"buildspot_bought"), 1);
    EXPECT_TRUE(map->mProgress->IsSpotOwned(L"#1", map->mEpisode, map->mLevel));
    EXPECT_NE(profiles->FileText().find("<spot name=\"#1\""), std::string::npos);

    // The next release there opens a build ring.
    delete map->mContextMenu;
    map->mContextMenu = nullptr;
    ReleaseOnSpot(kPricedSpot);
    ASSERT_NE(Ring(), nullptr);
    EXPECT_EQ(Ring()->mKind, NQContextMenu::kBuildRing);
}

TEST_F(PressTest, SellPaysHalfBackAndShowsTheSpotAgain)
{
    NQTower* tower = BuildOn(kOpenSpot, towers::kCannon);
    ASSERT_NE(tower, nullptr);
    Economy().mGold = 0;
    map->OnMouseUp(int(tower->mX), int(tower->mY));
    ASSERT_NE(Ring(), nullptr);
    OpenFully();
    PressItem(0);
    EXPECT_TRUE(map->mTowers.empty());
    EXPECT_EQ(Economy().mGold, 50);
    EXPECT_EQ(SpotFrame(kOpenSpot)->mShown, 1);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
    // The closing ring no longer names the deleted tower.
    EXPECT_EQ(Ring()->mTower, nullptr);
}

TEST_F(PressTest, InPlaceUpgradeWhileTheCountIsBelowItsLimit)
{
    NQTower* tower = BuildOn(kOpenSpot, towers::kCannon);
    Economy().mGold = 100;
    map->OnMouseUp(int(tower->mX), int(tower->mY));
    ASSERT_EQ(Ring()->mKind, NQContextMenu::kTierRing);
    OpenFully();
    PressItem(1);
    EXPECT_EQ(tower->mTierCount, 1);
    EXPECT_EQ(Economy().mGold, 60);
}

TEST_F(PressTest, BranchUpgradeThatCannotBePaidKeepsTheInPlaceCount)
{
    NQTower* tower = BuildOn(kOpenSpot, towers::kCannon);
    tower->mTierCount = 2;
    Economy().mGold = 10;
    Economy().mGems = 0;
    map->OnMouseUp(int(tower->mX), int(tower->mY));
    ASSERT_EQ(Ring()->mKind, NQContextMenu::kTowerRing);
    OpenFully();
    PressItem(1);
    EXPECT_EQ(tower->mTierCount, 2);
    EXPECT_EQ(tower->mLevel, 0);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);

    // Paid, the upgrade resets the count.
    delete map->mContextMenu;
    map->mContextMenu = nullptr;
    Economy().mGold = 1000;
    map->OnMouseUp(int(tower->mX), int(tower->mY));
    OpenFully();
    PressItem(1);
    EXPECT_EQ(tower->mLevel, 1);
    EXPECT_EQ(tower->mTierCount, 0);
    EXPECT_EQ(Economy().mGold, 850);
}

TEST_F(PressTest, PressDuringTheOpeningFadeClosesTheRing)
{
    ReleaseOnSpot(kOpenSpot);
    int x = 0;
    int y = 0;
    Centre(SpotFrame(kOpenSpot), x, y);
    map->OnMouseDown(x, y + 80);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
    EXPECT_TRUE(map->mTowers.empty());
}

TEST_F(PressTest, PressThatSelectsAnEnemyAlsoActsOnTheRing)
{
    NQEnemy* enemy = SpawnNow(units::kTank);
    ASSERT_NE(enemy, nullptr);
    enemy->mLastDrawnFrame = enemy->GetProto()->spriteSet->GetFrames("walk")[0];
    NQEnemy::Bounds bounds;
    ASSERT_TRUE(enemy->GetBounds(bounds));
    ReleaseOnSpot(kOpenSpot);
    OpenFully();
    map->OnMouseDown(int(bounds.x), int(bounds.y));
    EXPECT_EQ(map->mSelectedEnemy, enemy);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
}

// The release's ring opening: (ring before, release on) -> (ring after, sound, HUD step).
TEST_F(PressTest, ReleaseOpensClosesOrReplacesTheRing)
{
    NQTower* tower = BuildOn(kTutorialSpot, towers::kCannon);
    ASSERT_NE(tower, nullptr);
    // The tower's spot is hidden: a release there finds the tower.
    const int tx = int(tower->mX);
    const int ty = int(tower->mY);

    ReleaseOnSpot(kOpenSpot);
    ASSERT_NE(Ring(), nullptr);
    EXPECT_EQ(Ring()->mKind, NQContextMenu::kBuildRing);
    EXPECT_EQ(CountTag(L"context_in"), 1);
    EXPECT_EQ(CountCalls("HUD.OnMouseUp"), 0);

    // The same spot closes it.
    ReleaseOnSpot(kOpenSpot);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);
    EXPECT_EQ(CountTag(L"context_out"), 1);

    // Another spot removes it silently and opens nothing.
    ReleaseOnSpot(kPricedSpot);
    EXPECT_EQ(Ring(), nullptr);
    EXPECT_EQ(CountTag(L"context_out"), 1);

    ReleaseOnSpot(kPricedSpot);
    ASSERT_NE(Ring(), nullptr);
    EXPECT_EQ(Ring()->mKind, NQContextMenu::kBuySpotRing);
    // A tower removes another ring and opens nothing.
    map->OnMouseUp(tx, ty);
    EXPECT_EQ(Ring(), nullptr);

    // A tower opens its ring, the HUD step follows.
    map->OnMouseUp(tx, ty);
    ASSERT_NE(Ring(), nullptr);
    EXPECT_EQ(Ring()->mTower, tower);
    EXPECT_EQ(Events(L"tower_select_3"), 1);
    EXPECT_EQ(CountCalls("HUD.OnMouseUp"), 1);
    EXPECT_EQ(Ring()->mCenterX, 896.0f);
    EXPECT_EQ(Ring()->mCenterY, 563.0f);
    map->OnMouseUp(tx, ty);
    EXPECT_EQ(Ring()->mState, NQContextMenu::kClosing);

    // The tutorial lets only its own spot open.
    delete map->mContextMenu;
    map->mContextMenu = nullptr;
    map->mTutorialSpotFilter = 2;
    ReleaseOnSpot(kPricedSpot);
    EXPECT_EQ(Ring(), nullptr);
    map->mTutorialSpotFilter = 0;
    ReleaseOnSpot(kOpenSpot);
    EXPECT_NE(Ring(), nullptr);
}

TEST_F(PressTest, MoveSetsTheHoveredKeyAndWheelReachesTheHud)
{
    ReleaseOnSpot(kOpenSpot);
    int x = 0;
    int y = 0;
    map->OnMouseMove(500, 384 + 80);
    EXPECT_EQ(Ring()->mHoveredKey, -1);
    OpenFully();
    ItemPoint(towers::kMagic, x, y);
    gametest::CallLog().clear();
    map->OnMouseMove(x, y);
    EXPECT_EQ(Ring()->mHoveredKey, towers::kMagic);
    EXPECT_EQ(CountCalls("HUD.OnMouseMove " + std::to_string(x) + "," + std::to_string(y)), 1);
    map->OnMouseWheel(-120);
    EXPECT_EQ(CountCalls("HUD.OnMouseWheel -120"), 1);
}
} // namespace
