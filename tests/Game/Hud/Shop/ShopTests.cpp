// The shop: plates, scrolling, buying, the buy hit area and the input rules.
#include "ShopFixture.h"

#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQProgress.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDScrollBar.h"
#include "Game/Hud/HUDShopWindow.h"
#include "Game/Hud/HUDTab.h"
#include "Game/Hud/HUDTabStrip.h"
#include "Game/Hud/HUDUpgradePlate.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace gametest
{
namespace
{
// Fixture geometry: plates from (120, 200), 99 apart; the buy picture 80 x 50
// at (700, 220) on the first plate.
constexpr int kBuyCentreX = 740;
inline int BuyCentreY(int plate) { return 245 + 99 * plate; }
constexpr int kDownX = 885, kDownY = 645;
constexpr int kUpX = 885, kUpY = 165;
constexpr int kTabY = 150;
inline int TabX(int i) { return 216 + 290 * i; }
// Strictly inside the slider at its top place.
constexpr int kSliderX = 885, kSliderY = 290;

class ShopWindowTest : public ShopTest
{
protected:
    void SetUp() override
    {
        ShopTest::SetUp();
        LoadUpgrades(FixtureUpgradesXml());
        SetGems(1000);
    }

    static bool Shown(const HUDWindow& window, const wchar_t* name)
    {
        const NQButtonFrame* button = window.FindButton(name);
        return button && button->mShown;
    }

    static void Press(HUDShopWindow& shop, int x, int y)
    {
        shop.OnMouseDown(x, y);
        shop.OnMouseUp(x, y);
    }

    int Level(int id) const { return Map()->mProgress->GetUpgradeLevel(id); }

    static int ShownPips(const HUDUpgradePlate& plate)
    {
        return int(std::count_if(std::begin(plate.mPips), std::end(plate.mPips),
                                 [](const layer::ImageLayer* pip) { return pip && pip->mVisible; }));
    }

    static int Pips(const HUDUpgradePlate& plate)
    {
        return int(std::count_if(std::begin(plate.mPips), std::end(plate.mPips),
                                 [](const layer::ImageLayer* pip) { return pip != nullptr; }));
    }
};

TEST_F(ShopWindowTest, DownStepsAQuarterAndTheListMoves105PerPlateBeyondTheThird)
{
    HUDShopWindow shop(false);
    ASSERT_EQ(shop.mPlates.size(), 5u);
    EXPECT_TRUE(shop.mScrollBar->mRoot->mVisible);
    EXPECT_TRUE(Shown(shop, L"down_in"));
    EXPECT_TRUE(Shown(shop, L"up_in"));
    const float positions[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.0f};
    const float listY[] = {-52.5f, -105.0f, -157.5f, -210.0f, -210.0f};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(shop.Click(kDownX, kDownY), L"");
        EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, positions[i]) << i;
        EXPECT_FLOAT_EQ(shop.mList->mPosition.y, listY[i]) << i;
        EXPECT_FLOAT_EQ(shop.mScrollBar->mSlider->mPosition.y, 262.0f + 234.0f * positions[i]) << i;
    }
    for (int i = 0; i < 5; ++i)
        shop.Click(kUpX, kUpY);
    EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, 0.0f);
    EXPECT_FLOAT_EQ(shop.mList->mPosition.y, 0.0f);

    // One notch towards the top from the middle.
    shop.mScrollBar->mPosition = 0.5f;
    shop.OnMouseWheel(120);
    EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, 0.5f - 120.0f / 1024.0f);
    EXPECT_FLOAT_EQ(shop.mList->mPosition.y, -2.0f * 105.0f * (0.5f - 120.0f / 1024.0f));
    for (int i = 0; i < 10; ++i)
        shop.OnMouseWheel(120);
    EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, 0.0f);
}

TEST_F(ShopWindowTest, FourPlatesHideTheScrollBarYetTheHiddenSliderStillScrolls)
{
    HUDShopWindow shop(false);
    Press(shop, TabX(1), kTabY);
    EXPECT_EQ(shop.mCurrentTab, 1);
    ASSERT_EQ(shop.mPlates.size(), 4u);
    EXPECT_EQ(Heard(L"simple"), 1);
    EXPECT_FALSE(shop.mScrollBar->mRoot->mVisible);
    EXPECT_FALSE(Shown(shop, L"down_in"));
    EXPECT_FALSE(Shown(shop, L"up_in"));
    EXPECT_EQ(shop.Click(kDownX, kDownY), L"");
    shop.OnMouseWheel(-120);
    EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, 0.0f);
    EXPECT_FLOAT_EQ(shop.mList->mPosition.y, 0.0f);

    shop.OnMouseDown(kSliderX, kSliderY);
    EXPECT_EQ(shop.mScrollBar->mGrab, HUDScrollBar::kHeld);
    shop.OnMouseMove(kSliderX, 700);
    EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, 1.0f);
    EXPECT_FLOAT_EQ(shop.mList->mPosition.y, -105.0f);
    shop.OnMouseUp(kSliderX, 700);
    EXPECT_EQ(shop.mScrollBar->mGrab, HUDScrollBar::kReleased);
    EXPECT_EQ(shop.mDragState, HUDShopWindow::kNoDrag);
}

TEST_F(ShopWindowTest, BuyingStepsUntilThePlateIsComplete)
{
    SetGems(100);
    HUDShopWindow shop(false);
    HUDUpgradePlate& plate = *shop.mPlates[0];
    EXPECT_EQ(plate.mStepText->GetText(), L"S1k0");
    EXPECT_EQ(plate.mPrice->GetText(), L"10");
    EXPECT_EQ(ShownPips(plate), 0);
    int gems = 100;
    for (int step = 0; step < 3; ++step)
    {
        SCOPED_TRACE(step);
        Press(shop, kBuyCentreX, BuyCentreY(0));
        gems -= StepCost(step);
        EXPECT_EQ(Level(1), step);
        EXPECT_EQ(Map()->mEconomy->mGems, gems);
        EXPECT_EQ(StoredGems(), gems);
        EXPECT_EQ(ShownPips(plate), step + 1);
    }
    EXPECT_EQ(Heard(L"simple"), 3);
    EXPECT_EQ(plate.mComplete, 1);
    EXPECT_FALSE(plate.mPrice->mVisible);
    EXPECT_FALSE(plate.mGem->mVisible);
    EXPECT_FALSE(plate.mBuyActive->mVisible);
    EXPECT_FALSE(plate.mBuyInactive->mVisible);
    EXPECT_EQ(plate.mStepText->GetText(), L"Done1");
    // A complete plate buys nothing more and hovering shows no buy picture.
    Press(shop, kBuyCentreX, BuyCentreY(0));
    shop.OnMouseMove(kBuyCentreX, BuyCentreY(0));
    EXPECT_FALSE(plate.mBuyActive->mVisible);
    EXPECT_EQ(Map()->mEconomy->mGems, gems);
    // Every plate refreshed with the new gem count: 40 left, the 10-gem first
    // steps stay affordable.
    EXPECT_EQ(shop.mPlates[3]->mPrice->mColor.y, 1.0f);
}

TEST_F(ShopWindowTest, AOneStepUpgradeFillsSixPipsOnceBought)
{
    HUDShopWindow shop(false);
    HUDUpgradePlate& plate = *shop.mPlates[1];
    EXPECT_EQ(Pips(plate), 6);
    EXPECT_EQ(ShownPips(plate), 0);
    Press(shop, kBuyCentreX, BuyCentreY(1));
    EXPECT_EQ(Level(2), 0);
    EXPECT_EQ(ShownPips(plate), 6);
    EXPECT_EQ(plate.mComplete, 1);
}

TEST_F(ShopWindowTest, AnEightStepUpgradeShowsSixPipsAndBuysEveryStep)
{
    Map()->mProgress->SetUpgradeLevel(3, 5);
    HUDShopWindow shop(false);
    HUDUpgradePlate& plate = *shop.mPlates[2];
    EXPECT_EQ(Pips(plate), 6);
    EXPECT_EQ(ShownPips(plate), 6);
    EXPECT_EQ(plate.mStepText->GetText(), L"S3k6");
    Press(shop, kBuyCentreX, BuyCentreY(2));
    EXPECT_EQ(Level(3), 6);
    EXPECT_EQ(Map()->mEconomy->mGems, 1000 - StepCost(6));
    EXPECT_EQ(plate.mStepText->GetText(), L"S3k7");
    Press(shop, kBuyCentreX, BuyCentreY(2));
    EXPECT_EQ(Level(3), 7);
    EXPECT_EQ(plate.mComplete, 1);
    EXPECT_EQ(ShownPips(plate), 6);
}

TEST_F(ShopWindowTest, TooFewGemsBuyNothingAndThePriceIsDrawnRed)
{
    SetGems(5);
    HUDShopWindow shop(false);
    HUDUpgradePlate& plate = *shop.mPlates[0];
    Press(shop, kBuyCentreX, BuyCentreY(0));
    EXPECT_EQ(Level(1), -1);
    EXPECT_EQ(Map()->mEconomy->mGems, 5);
    EXPECT_FALSE(plate.mBuyActive->mVisible);

    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { plate.mPlate->Render(g); });
    const auto red = std::count_if(quads.begin(), quads.end(), [&](const RecordedQuad& q) {
        // Vertex colours are bytes.
        return q.texture == FontPage(GameWindow::kFontNormal) && std::abs(q.color[0] - 0.94f) < 0.01f &&
               std::abs(q.color[1] - 0.44f) < 0.01f && std::abs(q.color[2] - 0.44f) < 0.01f;
    });
    EXPECT_EQ(red, 2); // "10"

    // Gems arrive: the next refresh turns the price white again.
    SetGems(50);
    shop.Refresh();
    EXPECT_EQ(plate.mPrice->mColor.x, 1.0f);
}

TEST_F(ShopWindowTest, BuyHitAreaTable)
{
    struct Case
    {
        const char* what;
        float shiftX;
        float listY;
        int plate;
        int x, y;
        bool buys;
    };
    const Case cases[] = {
        {"centre", 0, 0, 0, kBuyCentreX, BuyCentreY(0), true},
        {"centre, shifted plate", 37, 0, 0, kBuyCentreX + 37, BuyCentreY(0), true},
        {"4 inside the left edge", 0, 0, 0, 704, BuyCentreY(0), false},
        {"4 inside the left edge, shifted", 37, 0, 0, 704 + 37, BuyCentreY(0), false},
        {"6 inside the left edge", 0, 0, 0, 706, BuyCentreY(0), true},
        {"4 inside the right edge", 0, 0, 0, 776, BuyCentreY(0), false},
        {"4 inside the top edge", 0, 0, 0, kBuyCentreX, 224, false},
        {"6 inside the bottom edge", 0, 0, 0, kBuyCentreX, 264, true},
        {"above the band", 0, -60, 0, kBuyCentreX, 169, false},
        {"top of the band", 0, -60, 0, kBuyCentreX, 170, true},
        {"below the band", 0, 70, 3, kBuyCentreX, 611, false},
        {"bottom of the band", 0, 70, 3, kBuyCentreX, 610, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Map()->mProgress->SetUpgradeLevel(1, -1);
        Map()->mProgress->SetUpgradeLevel(4, -1);
        HUDShopWindow shop(false);
        HUDUpgradePlate& plate = *shop.mPlates[size_t(c.plate)];
        plate.mPlate->SetPosition(plate.mPlate->mPosition.x + c.shiftX, plate.mPlate->mPosition.y, 0.0f);
        shop.mList->SetPosition(0.0f, c.listY, 0.0f);
        EXPECT_EQ(plate.HitTestBuy(c.x, c.y), c.buys);
        shop.OnMouseUp(c.x, c.y);
        EXPECT_EQ(Level(plate.mUpgradeId), c.buys ? 0 : -1);
    }
}

TEST_F(ShopWindowTest, HoverShowsTheActiveBuyPictureAndGrowsTheButton)
{
    HUDShopWindow shop(false);
    HUDUpgradePlate& plate = *shop.mPlates[0];
    shop.OnMouseMove(kBuyCentreX, BuyCentreY(0));
    EXPECT_TRUE(plate.mBuyActive->mVisible);
    for (int i = 0; i < 5; ++i)
        shop.Update(0.1f);
    EXPECT_FLOAT_EQ(plate.mButtonScale, 1.1f);
    EXPECT_FLOAT_EQ(plate.mBuyButton->mScale.x, 1.1f);
    shop.OnMouseMove(0, 0);
    EXPECT_FALSE(plate.mBuyActive->mVisible);
    shop.Update(0.05f);
    EXPECT_FLOAT_EQ(plate.mButtonScale, 1.05f);
    shop.Update(0.1f);
    EXPECT_FLOAT_EQ(plate.mButtonScale, 1.0f);
}

TEST_F(ShopWindowTest, AReleaseEndingADragFromTheScrollColumnBuysNothing)
{
    HUDShopWindow shop(false);
    shop.OnMouseDown(880, 500);
    EXPECT_EQ(shop.mDragState, HUDShopWindow::kPressedInScrollColumn);
    shop.OnMouseMove(kBuyCentreX, BuyCentreY(0));
    EXPECT_EQ(shop.mDragState, HUDShopWindow::kDragging);
    shop.OnMouseUp(kBuyCentreX, BuyCentreY(0));
    EXPECT_EQ(Level(1), -1);
    EXPECT_EQ(shop.mDragState, HUDShopWindow::kNoDrag);
    // The next release is an ordinary one.
    Press(shop, kBuyCentreX, BuyCentreY(0));
    EXPECT_EQ(Level(1), 0);
}

TEST_F(ShopWindowTest, ABlockedShopAnswersNoButtonIgnoresTabsAndScrollingButStillBuys)
{
    HUDShopWindow shop(true);
    Map()->mHud->mBlockShop = 1;
    for (const NQButtonFrame* button : shop.mButtons)
    {
        const int x = int(button->mRect[0] + button->mRect[2] / 2);
        const int y = int(button->mRect[1] + button->mRect[3] / 2);
        EXPECT_EQ(shop.Click(x, y), L"");
    }
    EXPECT_EQ(Heard(L"simple"), 0);
    Press(shop, TabX(1), kTabY);
    EXPECT_EQ(shop.mCurrentTab, 0);
    EXPECT_EQ(shop.mPlates.size(), 5u);
    shop.OnMouseDown(kSliderX, kSliderY);
    EXPECT_EQ(shop.mScrollBar->mGrab, HUDScrollBar::kReleased);
    shop.OnMouseUp(kSliderX, kSliderY);
    Press(shop, kBuyCentreX, BuyCentreY(0));
    EXPECT_EQ(Level(1), 0);
}

TEST_F(ShopWindowTest, TheEmptySectionsTabIsDisabled)
{
    HUDShopWindow shop(false);
    ASSERT_EQ(shop.mTabStrip->mTabs.size(), 3u);
    EXPECT_EQ(shop.mTabStrip->mTabs[0]->mEnabled, 1);
    EXPECT_EQ(shop.mTabStrip->mTabs[1]->mEnabled, 1);
    EXPECT_EQ(shop.mTabStrip->mTabs[2]->mEnabled, 0);
    Press(shop, TabX(2), kTabY);
    EXPECT_EQ(shop.mCurrentTab, 0);
    EXPECT_EQ(shop.mPlates.size(), 5u);
    EXPECT_EQ(Heard(L"simple"), 0);
    // The current tab answered again rebuilds it, scrolled to the top.
    shop.Click(kDownX, kDownY);
    Press(shop, TabX(0), kTabY);
    EXPECT_EQ(Heard(L"simple"), 2);
    EXPECT_FLOAT_EQ(shop.mList->mPosition.y, 0.0f);
    EXPECT_FLOAT_EQ(shop.mScrollBar->mPosition, 0.0f);
}

TEST_F(ShopWindowTest, TheLeavingButtonFitsWhereTheShopWasOpenedFrom)
{
    for (bool fromLevel : {false, true})
    {
        HUDShopWindow shop(fromLevel);
        EXPECT_EQ(Shown(shop, L"back_ac"), !fromLevel);
        EXPECT_EQ(Shown(shop, L"return_ac"), fromLevel);
        EXPECT_FALSE(Shown(shop, L"gem_shop"));
        EXPECT_EQ(Map()->mScreenState, screen::kShop);
        EXPECT_EQ(TextOf(shop, L"caption"), L"Shop");
        EXPECT_EQ(shop.mCaption->GetText(), L"Shop");
        EXPECT_EQ(shop.mGems->GetText(), L"1000");
        // The hidden gem shop button still answers by the shop's form when shown.
        shop.FindButton(L"gem_shop")->mShown = 1;
        EXPECT_EQ(shop.Click(410, 670), fromLevel ? L"gem_shop1" : L"gem_shop0");
    }
}

TEST_F(ShopWindowTest, TheGemTextFollowsTheEconomyAtEveryUpdate)
{
    HUDShopWindow shop(false);
    Map()->mEconomy->AddGems(25);
    shop.Update(0.016f);
    EXPECT_EQ(shop.mGems->GetText(), L"1025");
}

TEST_F(ShopWindowTest, TheFooterHookDrawsTheShownButtonsAfterTheFooterPicture)
{
    HUDShopWindow shop(false);
    const render::Texture* footer = TextureOf(shop.mFooter->GetImage());
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { shop.Draw(g); });
    const auto at = std::find_if(quads.begin(), quads.end(), [&](const RecordedQuad& q) { return q.texture == footer; });
    ASSERT_NE(at, quads.end());
    std::vector<const render::Texture*> after;
    for (auto q = at + 1; q != quads.end() && after.size() < 4; ++q)
        after.push_back(q->texture);
    std::vector<const render::Texture*> shown;
    for (const NQButtonFrame* button : shop.mButtons)
        if (button->mShown)
            shown.push_back(TextureOf(button->mPicture));
    ASSERT_EQ(shown.size(), 4u); // back, reset, up, down
    EXPECT_EQ(after, shown);
}

TEST_F(ShopWindowTest, ClosingTheShopLeavesNoTextOnTheRootLayer)
{
    layer::Layer* root = Board()->GetRootLayer();
    const size_t before = root->GetChildren().size();
    {
        HUDShopWindow shop(false);
        EXPECT_EQ(root->GetChildren().size(), before + 2);
    }
    EXPECT_EQ(root->GetChildren().size(), before);
}

TEST_F(ShopWindowTest, ResetAsksThenEveryPlateShowsStepZero)
{
    HUD* hud = Map()->mHud;
    hud->ShowShop(false);
    hud->Update(0.0f);
    auto* shop = dynamic_cast<HUDShopWindow*>(hud->GetTopWindow());
    ASSERT_NE(shop, nullptr);
    Press(*shop, kBuyCentreX, BuyCentreY(0));
    Press(*shop, kBuyCentreX, BuyCentreY(0));
    EXPECT_EQ(shop->mPlates[0]->mStepText->GetText(), L"S1k2");

    EXPECT_EQ(shop->Click(530, 670), L"reset_premium_points");
    EXPECT_EQ(Map()->mScreenState, screen::kResetUpgrades);
    Map()->ResetUpgrades();
    hud->RefreshTopWindow();
    for (const HUDUpgradePlate* plate : shop->mPlates)
        EXPECT_EQ(plate->mStepText->GetText(), L"S" + std::to_wstring(plate->mUpgradeId) + L"k0");
    EXPECT_EQ(Map()->mEconomy->mGems, 1000);
}

TEST_F(ShopWindowTest, CountAvailableUpgradesCountsEachSection)
{
    EXPECT_EQ(CountAvailableUpgrades(0), 5);
    EXPECT_EQ(CountAvailableUpgrades(1), 4);
    EXPECT_EQ(CountAvailableUpgrades(2), 0);
}
} // namespace
} // namespace gametest
