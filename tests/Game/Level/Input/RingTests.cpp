// The context ring: what its openers put in it, its layout near and away
// from the screen borders, its hit test, fade and drawing.
#include "InputFixture.h"

#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace
{
using gametest::InputTest;
namespace towers = gametest::towers;

constexpr float kTolerance = 1e-3f;

class RingTest : public InputTest
{
protected:
    NQContextMenu* NewRing(float x, float y)
    {
        delete map->mContextMenu;
        map->mContextMenu = new NQContextMenu;
        map->mContextMenu->mCenterX = x;
        map->mContextMenu->mCenterY = y;
        return map->mContextMenu;
    }

    std::map<int, float> AnglesByKey() const
    {
        std::map<int, float> angles;
        for (const NQContextMenuItem* item : Ring()->mItems)
            angles[item->mKey] = item->mAngle;
        return angles;
    }

    NQTower* TowerOn(int spot, int protoId)
    {
        NQTower* tower = BuildOn(spot, protoId);
        EXPECT_NE(tower, nullptr);
        return tower;
    }
};

TEST_F(RingTest, BuildRingOffersTheUnlockedTowersInDatabaseOrderAsUpgradedCopies)
{
    Unlock(std::to_string(towers::kMagic) + "," + std::to_string(towers::kCannon));
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenBuildMenu(0, SpotFrame(kOpenSpot));
    EXPECT_EQ(ring->mKind, NQContextMenu::kBuildRing);
    EXPECT_EQ(ring->mStartAngle, 90.0f);
    EXPECT_EQ(ring->mEndAngle, 270.0f);
    ASSERT_EQ(Keys(), (std::vector<int>{towers::kCannon, towers::kMagic}));
    EXPECT_EQ(ring->mItems[0]->mIndex, 1);
    EXPECT_EQ(ring->mItems[1]->mIndex, 2);
    EXPECT_EQ(ring->GetItemPrice(towers::kCannon), 100.0f);
    EXPECT_EQ(ring->GetItemPrice(towers::kMagic), 150.0f);
    // Copies, never the database's own prototypes.
    EXPECT_NE(ring->mItems[0]->mProto, map->mUnitDatabase->FindProto(towers::kCannon));
    EXPECT_EQ(ring->mItems[0]->mProto->id, towers::kCannon);
}

TEST_F(RingTest, BuySpotLabelShowsOnlyThePricesThatAreNotZero)
{
    struct Case
    {
        int gold;
        int gems;
        const char* caption;
    };
    for (const Case& c : {Case{0, 5, "#5"}, Case{30, 5, "$30; #5"}, Case{30, 0, "$30"}})
    {
        NQFrameEntry* frame = SpotFrame(kPricedSpot);
        frame->mSpot->mGoldPrice = c.gold;
        frame->mSpot->mGemPrice = c.gems;
        NQContextMenu* ring = NewRing(300, 520);
        ring->OpenBuySpotMenu(frame);
        EXPECT_EQ(ring->mKind, NQContextMenu::kBuySpotRing);
        ASSERT_EQ(ring->mItems.size(), 1u);
        EXPECT_EQ(ring->mItems[0]->mKey, 1);
        EXPECT_EQ(ring->mItems[0]->mCaption, c.caption);
        EXPECT_EQ(ring->mItems[0]->mAngle, 90.0f);
    }
}

TEST_F(RingTest, TowerRingPricesEachChoiceThroughItsChain)
{
    NQTower* tower = TowerOn(kOpenSpot, towers::kArrow);
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    EXPECT_EQ(ring->mKind, NQContextMenu::kTowerRing);
    ASSERT_EQ(Keys(), (std::vector<int>{0, 1, 2, 100, 200}));
    EXPECT_EQ(ring->mItems[0]->mProto, nullptr);
    EXPECT_EQ(ring->GetItemPrice(1), 100.0f);
    // Level 2 needs level 1 first: 100 + 140.
    EXPECT_EQ(ring->GetItemPrice(2), 240.0f);
    EXPECT_EQ(ring->GetItemPrice(100), 120.0f);

    tower->mLevel = 1;
    ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    ASSERT_EQ(Keys(), (std::vector<int>{0, 2}));
    EXPECT_EQ(ring->GetItemPrice(2), 140.0f);
}

TEST_F(RingTest, TowerRingOffersTheInPlaceUpgradeWhileTheCountIsBelowItsLimit)
{
    NQTower* tower = TowerOn(kOpenSpot, towers::kCannon);
    for (int count : {0, 1})
    {
        tower->mTierCount = count;
        NQContextMenu* ring = NewRing(500, 384);
        ring->OpenTowerMenu(tower);
        EXPECT_EQ(ring->mKind, NQContextMenu::kTierRing) << count;
        ASSERT_EQ(Keys(), (std::vector<int>{0, 1})) << count;
        ASSERT_NE(ring->mItems[1]->mProto, nullptr);
        EXPECT_NE(ring->mItems[1]->mProto, tower->mBaseProto);
        EXPECT_EQ(ring->mItems[1]->mProto->tierCost, 40.0f);
    }
    tower->mTierCount = 2;
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    EXPECT_EQ(ring->mKind, NQContextMenu::kTowerRing);
    EXPECT_EQ(Keys(), (std::vector<int>{0, 1, 2, 100, 200}));
}

TEST_F(RingTest, TowerRingPreviewsTheHoveredChoiceEvenWhenAnEnemyHasItsLevelId)
{
    // Enemies whose ids equal the ring's keys: a lookup by key finds them.
    for (int id : {1, 100})
    {
        auto* enemy = new NQUnitProto;
        enemy->id = id;
        enemy->r = 10.0f;
        map->mUnitDatabase->mProtos.push_back(enemy);
    }
    // 336 wide: the circle picture's width is the range drawn.
    data->Write("ui/radius.png", gametest::SolidPng(336, 336, 0xFFFFFFFFu));
    map->mRadiusPicture = Picture(L"ui/radius.png");
    struct Case
    {
        int tower;
        int tierCount;
        int hoveredKey; // -1: nothing hovered
        float range;
    };
    const Case cases[] = {
        {towers::kArrow, 0, 100, 450.0f}, // the branch's own copy, its range raised below
        {towers::kArrow, 0, 0, 300.0f},   // sell: the tower as it is
        {towers::kArrow, 0, -1, 300.0f},
        {towers::kCannon, 0, 1, 450.0f}, // in place: 300 and one step of 0.5 x 300
        {towers::kCannon, 1, 1, 600.0f},
    };
    for (const Case& c : cases)
    {
        NQTower* tower = TowerOn(kOpenSpot, c.tower);
        tower->mTierCount = c.tierCount;
        tower->Update(0.0f); // takes in the in-place steps
        NQContextMenu* ring = NewRing(500, 384);
        ring->OpenTowerMenu(tower);
        for (NQContextMenuItem* item : ring->mItems)
        {
            if (item->mKey == 100 && item->mProto)
                item->mProto->r = 450.0f;
            if (item->mKey == c.hoveredKey)
                ring->mHoveredItem = item;
        }
        ring->mHoveredKey = c.hoveredKey;
        const auto quads = Draw();
        const bool found = std::any_of(quads.begin(), quads.end(), [&](const gametest::RecordedQuad& q) {
            return std::abs(q.CentreX() - tower->mAnchorX) < 0.5f && std::abs(q.CentreY() - tower->mAnchorY) < 0.5f &&
                   std::abs(q.Width() - c.range) < 0.5f;
        });
        EXPECT_TRUE(found) << c.tower << " key " << c.hoveredKey << " tier " << c.tierCount;
        map->SellTower(tower);
    }
}

TEST_F(RingTest, ChoiceWhoseChainCannotReachTheTowerIsLeftOut)
{
    NQTower* tower = TowerOn(kOpenSpot, towers::kArrow);
    NQUnitProto* first = map->mUnitDatabase->FindProto(towers::kArrow + 1);
    NQUnitProto* second = map->mUnitDatabase->FindProto(towers::kArrow + 2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);

    // A "require" that names no offered level.
    second->require = 7;
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    EXPECT_EQ(Keys(), (std::vector<int>{0, 1, 100, 200}));

    // Levels 1 and 2 each require the other: a cycle.
    first->require = 2;
    second->require = 1;
    ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    EXPECT_EQ(Keys(), (std::vector<int>{0, 100, 200}));
}

TEST_F(RingTest, DeletingARingLeavesTheDatabaseWhole)
{
    NQTower* tower = TowerOn(kOpenSpot, towers::kCannon);
    NewRing(500, 384)->OpenTowerMenu(tower);
    NewRing(500, 384)->OpenBuildMenu(0, SpotFrame(kOpenSpot));
    delete map->mContextMenu;
    map->mContextMenu = nullptr;
    const NQUnitProto* cannon = map->mUnitDatabase->FindProto(towers::kCannon);
    ASSERT_NE(cannon, nullptr);
    EXPECT_EQ(cannon->cost, 100.0f);
    EXPECT_EQ(cannon->tierCost, 40.0f);
    EXPECT_EQ(cannon->children.size(), 4u);
}

TEST_F(RingTest, BaseTowersKeepTheirPlacesAwayFromTheBordersInAnyOrder)
{
    auto& protos = map->mUnitDatabase->mProtos;
    std::reverse(protos.begin(), protos.end());
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenBuildMenu(0, SpotFrame(kOpenSpot));
    OpenFully();
    const std::map<int, float> expected = {
        {towers::kCannon, 270.0f}, {towers::kArrow, 180.0f}, {towers::kMagic, 0.0f}, {towers::kBank, 90.0f}};
    EXPECT_EQ(AnglesByKey(), expected);
    EXPECT_FALSE(ring->mReversed);
}

TEST_F(RingTest, NearABorderTheItemsFormAHalfCircle)
{
    struct Case
    {
        float x;
        float y;
        bool reversed;
        std::vector<float> angles;
    };
    Unlock("10000,20000,30000");
    const Case cases[] = {
        {500, 700, true, {90, 180, 270}},
        {100, 100, false, {0, 90, 180}},
        {950, 384, true, {180, 270, 360}},
    };
    for (const Case& c : cases)
    {
        NQContextMenu* ring = NewRing(c.x, c.y);
        ring->OpenBuildMenu(0, SpotFrame(kOpenSpot));
        const std::vector<int> order = Keys();
        OpenFully();
        EXPECT_EQ(ring->mReversed, true) << c.x << "," << c.y;
        std::vector<int> expectedOrder = order;
        if (c.reversed)
            std::reverse(expectedOrder.begin(), expectedOrder.end());
        EXPECT_EQ(Keys(), expectedOrder) << c.x << "," << c.y;
        ASSERT_EQ(ring->mItems.size(), c.angles.size());
        for (size_t i = 0; i < c.angles.size(); ++i)
            EXPECT_NEAR(ring->mItems[i]->mAngle, c.angles[i], kTolerance) << c.x << "," << c.y << " item " << i;
        EXPECT_NEAR(NQContextMenu::kRadius * ring->GetScale(), 104.0f, kTolerance);
        // A second drawing never reverses again.
        Draw();
        EXPECT_EQ(Keys(), expectedOrder);
    }
}

TEST_F(RingTest, ARingKeepsItsItemsAndPricesOnTheScreenClearOfThePanels)
{
    LoadRingPictures();
    struct Case
    {
        float x;
        float y;
    };
    // Below the top panel, in the top corners, above the bottom strip, at the sides.
    for (const Case& c : {Case{500, 70}, Case{500, 160}, Case{40, 40}, Case{990, 60}, Case{500, 740}, Case{990, 700},
                          Case{10, 384}, Case{500, 384}})
    {
        NQContextMenu* ring = NewRing(c.x, c.y);
        ring->OpenBuildMenu(0, SpotFrame(kOpenSpot));
        for (NQContextMenuItem* item : ring->mItems)
            item->mProto->addonNames = {"air"};
        map->KeepRingOnScreen();
        ring->Update(0.25f);
        for (const gametest::RecordedQuad& q : Draw())
            for (int k = 0; k < 4; ++k)
            {
                EXPECT_GE(q.x[k], 0.0f) << c.x << "," << c.y;
                EXPECT_LE(q.x[k], 1024.0f) << c.x << "," << c.y;
                EXPECT_GE(q.y[k], 60.0f) << c.x << "," << c.y;
                EXPECT_LE(q.y[k], 704.0f) << c.x << "," << c.y;
            }
        // The hit test finds the items where they are drawn.
        int x = 0;
        int y = 0;
        ItemPoint(ring->mItems[0]->mKey, x, y);
        EXPECT_EQ(ring->HitTest(x, y), ring->mItems[0]->mKey);
    }
    // Away from the edges the ring stays centred on its spot.
    EXPECT_EQ(Ring()->mCenterX, 500.0f);
    EXPECT_EQ(Ring()->mCenterY, 384.0f);
}

TEST_F(RingTest, TowerChoicesShowTheirTowerWithItsStarMarkAndTheSellItemItsRefund)
{
    LoadRingPictures();
    // Each picture its own size, to tell them apart.
    data->Write("ui/tower.png", gametest::SolidPng(30, 30, 0xFFFFFFFFu));
    data->Write("ui/mark.png", gametest::SolidPng(12, 12, 0xFFFFFFFFu));
    map->mTowerIcons[towers::kArrow + 1] = Picture(L"ui/tower.png");
    map->mLevel2Mark = Picture(L"ui/mark.png");
    NQTower* tower = TowerOn(kOpenSpot, towers::kArrow);
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    for (NQContextMenuItem* item : ring->mItems)
        if (item->mProto)
        {
            item->mProto->stars = item->mKey == 1 ? 1 : 0;
            item->mProto->addonNames.clear();
        }
    ring->Update(0.25f);
    const auto quads = Draw();
    int x = 0;
    int y = 0;
    ItemPoint(1, x, y);
    const auto drawn = [&](float cx, float cy, float width) {
        return std::any_of(quads.begin(), quads.end(), [&](const gametest::RecordedQuad& q) {
            return std::abs(q.CentreX() - cx) < 1.0f && std::abs(q.CentreY() - cy) < 1.0f &&
                   std::abs(q.Width() - width) < 0.5f;
        });
    };
    EXPECT_TRUE(drawn(float(x), float(y), 30.0f)) << "the tower's picture";
    EXPECT_TRUE(drawn(float(x) + 15.0f, float(y), 12.0f)) << "the star mark on its right rim";
    // Half the arrow tower's cost of 80.
    ASSERT_EQ(ring->mItems[0]->mKey, 0);
    EXPECT_EQ(ring->mItems[0]->mPriceText->mText, L"$40");
}

TEST_F(RingTest, TowerRingSpreadsItsItemsOverTheWholeCircle)
{
    Unlock("20000,20001,20002");
    NQTower* tower = TowerOn(kOpenSpot, towers::kArrow);
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    ASSERT_EQ(ring->mItems.size(), 3u);
    OpenFully();
    EXPECT_NEAR(ring->mItems[0]->mAngle, 0.0f, kTolerance);
    EXPECT_NEAR(ring->mItems[1]->mAngle, 120.0f, kTolerance);
    EXPECT_NEAR(ring->mItems[2]->mAngle, 240.0f, kTolerance);
}

TEST_F(RingTest, HitTestFindsAnItemStrictlyWithinItsRadiusOnlyWhileOpen)
{
    NQTower* tower = TowerOn(kOpenSpot, towers::kCannon);
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenTowerMenu(tower);
    // While opening nothing is hit.
    EXPECT_EQ(ring->HitTest(500, 384 + 80), -1);
    OpenFully();
    ASSERT_EQ(ring->mItems[0]->mAngle, 0.0f);
    // The sell item stands below the centre, 80 down.
    EXPECT_EQ(ring->HitTest(500, 384 + 80 + 31), 0);
    EXPECT_EQ(ring->mHoveredItem, ring->mItems[0]);
    EXPECT_EQ(ring->HitTest(500, 384 + 80 + 32), -1);
    EXPECT_EQ(ring->mHoveredItem, nullptr);
    ring->Close();
    EXPECT_EQ(ring->HitTest(500, 384 + 80), -1);

    NQContextMenu* empty = NewRing(500, 384);
    empty->Update(0.25f);
    EXPECT_EQ(empty->HitTest(500, 384), -1);
}

TEST_F(RingTest, FadeOpensAndEndsOnlyAfterMoreThanItsTime)
{
    NQContextMenu* ring = NewRing(500, 384);
    ring->AddItem(0, 0);
    ring->Update(0.2f);
    EXPECT_EQ(ring->mState, NQContextMenu::kOpening);
    EXPECT_NEAR(ring->GetFadeFactor(), 1.0f, kTolerance);
    ring->Update(0.01f);
    EXPECT_EQ(ring->mState, NQContextMenu::kOpen);
    EXPECT_EQ(ring->mFadeTime, 0.0f);

    const int before = CountTag(L"context_out");
    ring->Close();
    ring->Close();
    EXPECT_EQ(CountTag(L"context_out"), before + 1);
    ring->Update(0.1f);
    EXPECT_NEAR(ring->GetFadeFactor(), 0.5f, kTolerance);
    ring->Update(0.1f);
    EXPECT_EQ(ring->mActive, 1);
    ring->Update(0.01f);
    EXPECT_EQ(ring->mActive, 0);
    EXPECT_EQ(ring->mState, NQContextMenu::kOpen);

    NQContextMenu* empty = NewRing(500, 384);
    Draw();
    EXPECT_EQ(empty->mActive, 0);
}

TEST_F(RingTest, PriceTurnsRedWhenTheGoldFallsShort)
{
    LoadRingPictures();
    Unlock(std::to_string(towers::kMagic));
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenBuildMenu(0, SpotFrame(kOpenSpot));
    ring->Update(0.25f);
    const auto hasColour = [](const std::vector<gametest::RecordedQuad>& quads, float r, float g, float b) {
        return std::any_of(quads.begin(), quads.end(), [&](const gametest::RecordedQuad& q) {
            return std::abs(q.color[0] - r) < 0.01f && std::abs(q.color[1] - g) < 0.01f &&
                   std::abs(q.color[2] - b) < 0.01f;
        });
    };
    Economy().mGold = 149;
    EXPECT_TRUE(hasColour(Draw(), 0.94f, 0.44f, 0.44f));
    Economy().mGold = 150;
    EXPECT_FALSE(hasColour(Draw(), 0.94f, 0.44f, 0.44f));
}

TEST_F(RingTest, BuyCaptionIsRedOnlyWhileTheRingIsOpen)
{
    LoadRingPictures();
    Economy().mGold = 0;
    NQContextMenu* ring = NewRing(300, 520);
    ring->OpenBuySpotMenu(SpotFrame(kPricedSpot));
    const auto red = [](const std::vector<gametest::RecordedQuad>& quads) {
        return std::count_if(quads.begin(), quads.end(), [](const gametest::RecordedQuad& q) {
            return q.color[0] > 0.99f && q.color[1] < 0.01f && q.color[2] < 0.01f;
        });
    };
    EXPECT_EQ(red(Draw()), 0);
    ring->Update(0.25f);
    EXPECT_GT(red(Draw()), 0);
    ring->Close();
    EXPECT_EQ(red(Draw()), 0);
}

TEST_F(RingTest, AbilityIconsFanOutUnderTheItem)
{
    LoadRingPictures();
    Unlock(std::to_string(towers::kMagic));
    NQContextMenu* ring = NewRing(500, 384);
    ring->OpenBuildMenu(0, SpotFrame(kOpenSpot));
    ring->mItems[0]->mProto->addonNames = {"splash", "unknown", "air"};
    ring->Update(0.25f);
    const auto quads = Draw();
    // The magic tower stands at 0 degrees: 80 below the centre.
    const float ix = 500.0f;
    const float iy = 384.0f + 80.0f;
    std::vector<std::pair<float, float>> expected;
    for (float degrees : {330.0f, 390.0f})
    {
        const float b = degrees * 3.14f / 180.0f;
        expected.emplace_back(ix + std::sin(b) * 35.0f, iy + std::cos(b) * 35.0f);
    }
    for (const auto& at : expected)
    {
        const bool found = std::any_of(quads.begin(), quads.end(), [&](const gametest::RecordedQuad& q) {
            return std::abs(q.CentreX() - at.first) < 0.5f && std::abs(q.CentreY() - at.second) < 0.5f &&
                   std::abs(q.Width() - 20.0f) < 0.5f;
        });
        EXPECT_TRUE(found) << at.first << "," << at.second;
    }
}
} // namespace
