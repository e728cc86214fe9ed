// The three screens driven through the level as the root board drives them:
// presses through NQMap::OnMouseMove and OnMouseDown, releases through
// NQMap::OnMouseUp, one HUD update after every event.
#include "MenuScreensFixture.h"
#include "ShopFixture.h"

#include "Core/File/Profiles.h"
#include "Core/Purchase/Product.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDBuyGemScreen.h"
#include "Game/Hud/HUDGemPack.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDModalDialog.h"
#include "Game/Hud/HUDShopWindow.h"
#include "Game/Hud/HUDUpgradePlate.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "support/FakePurchaseProvider.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

namespace gametest
{
namespace
{
constexpr int kBuyX = 740, kBuyY = 245;
// The modal layout's "ok" and "cancel" centres.
constexpr int kDialogOkX = 500, kDialogCancelX = 180, kDialogButtonY = 340;

class ShopFlowTest : public ShopTest
{
protected:
    void SetUp() override
    {
        ShopTest::SetUp();
        WriteLayout("nq/data/mm", MenuModalLayers());
        LoadUpgrades(FixtureUpgradesXml());
        map = Map();
        map->mEpisode = 0;
        map->mLevel = 1;
        map->mMode = 1;
        map->mMaxLives = 20.0f;
        map->mLives = 20.0f;
        map->mEconomy->mKillScore = 40;
        map->mEconomy->mGemsGained = 0;
        // The episode bonus is not part of these runs.
        map->mProgress->SetEventFlag(1);
        SetGems(0);
    }

    HUD* Hud() const { return map->mHud; }
    HUDWindow* Top() const { return Hud()->GetTopWindow(); }
    void Step(float dt = 0.0f) { Hud()->Update(dt); }
    void Press(int x, int y)
    {
        map->OnMouseMove(x, y);
        Step();
        map->OnMouseDown(x, y);
        Step();
    }
    void Release(int x, int y)
    {
        map->OnMouseUp(x, y);
        Step();
    }
    void Tap(int x, int y)
    {
        Press(x, y);
        Release(x, y);
    }
    void CloseAll()
    {
        while (Hud()->HasWindows())
            Hud()->CloseTopWindow();
        Step();
    }

    static std::pair<int, int> Centre(const NQButtonFrame& button)
    {
        return {int(button.mRect[0] + button.mRect[2] / 2), int(button.mRect[1] + button.mRect[3] / 2)};
    }

    // The names the screen opened by `open` answers for a press and a
    // release at each of `points`, each on a fresh screen.
    std::set<std::wstring> Answers(const std::function<void()>& open, const std::vector<std::pair<int, int>>& points)
    {
        std::set<std::wstring> names;
        for (const auto& [x, y] : points)
        {
            open();
            Press(x, y);
            names.insert(Hud()->Click(x, y));
            CloseAll();
        }
        return names;
    }

    NQMap* map = nullptr;
};

TEST_F(ShopFlowTest, AWonLevelCountsUpBuysAStepAndShowsTheGemShop)
{
    map->Win();
    Step();
    auto* result = dynamic_cast<HUDLevelResultWindow*>(Top());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(map->mEconomy->mGems, 13);
    for (int frame = 0; frame < 200 && result->mState != HUDLevelResultWindow::kFinished; ++frame)
    {
        Step(0.05f);
        Record([&](render::Graphics* g) { Hud()->DrawWindows(g, HUDWindow::kScreenLayer); });
    }
    EXPECT_EQ(result->mState, HUDLevelResultWindow::kFinished);
    EXPECT_EQ(TextOf(*result, L"totalScore"), L"Total:2040");

    // "done" opens the shop after the level.
    Tap(Centre(*result->FindButton(L"done")).first, Centre(*result->FindButton(L"done")).second);
    auto* shop = dynamic_cast<HUDShopWindow*>(Top());
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->mFromLevel, 1);
    EXPECT_EQ(NQMap::sShopReturnTarget, L"game");
    EXPECT_EQ(map->mScreenState, screen::kShop);
    Tap(kBuyX, kBuyY);
    EXPECT_EQ(map->mProgress->GetUpgradeLevel(1), 0);
    EXPECT_EQ(map->mEconomy->mGems, 13 - StepCost(0));

    // The gem shop from the shop, and back.
    shop->FindButton(L"gem_shop")->mShown = 1;
    Tap(410, 670);
    auto* gems = dynamic_cast<HUDBuyGemScreen*>(Top());
    ASSERT_NE(gems, nullptr);
    EXPECT_EQ(NQMap::sGemShopReturnTarget, L"shop1");
    EXPECT_EQ(map->mScreenState, screen::kGemShop);
    const std::vector<RecordedQuad> quads =
        Record([&](render::Graphics* g) { Hud()->DrawWindows(g, HUDWindow::kScreenLayer); });
    EXPECT_GE(quads.size(), 5u * 2u + 1u);
    Tap(kBackInX, kBackInY);
    shop = dynamic_cast<HUDShopWindow*>(Top());
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->mFromLevel, 1);

    // The saved profile holds the stars, the gems and the upgrade level.
    const std::wstring current = file::Profiles::Instance()->GetCurrentProfileName();
    file::Profiles::Instance()->Load();
    // The level's record binds to the reloaded document again.
    map->mProgress->SelectProfile(current);
    NQProgress reread;
    std::unique_ptr<NQLevelRecord> record(reread.GetLevelRecord(0, 1, 1));
    EXPECT_EQ(record->stars, 3);
    EXPECT_EQ(reread.GetGems(), 13 - StepCost(0));
    EXPECT_EQ(reread.GetUpgradeLevel(1), 0);
}

TEST_F(ShopFlowTest, EveryButtonAnswersOnlyNamesTheDispatcherActsOn)
{
    // The level result window, in states 1 and 2.
    for (NQScreenState state : {screen::kWon, screen::kLost})
    {
        std::vector<std::pair<int, int>> points;
        {
            HUDLevelResultWindow probe;
            for (const NQButtonFrame* button : probe.mButtons)
                points.push_back(Centre(*button));
        }
        const auto open = [&] {
            map->mScreenState = state;
            Hud()->PushWindow(new HUDLevelResultWindow);
            Step();
        };
        EXPECT_EQ(Answers(open, points), (std::set<std::wstring>{L"done", L"close", L"restart", L"menu"}));
    }

    // The shop from a menu and after a level; the plates' buy buttons answer nothing.
    for (bool fromLevel : {false, true})
    {
        std::vector<std::pair<int, int>> points{{kBuyX, kBuyY}};
        {
            HUDShopWindow probe(fromLevel);
            for (const NQButtonFrame* button : probe.mButtons)
                points.push_back(Centre(*button));
        }
        const auto open = [&] {
            Hud()->ShowShop(fromLevel);
            Step();
        };
        std::set<std::wstring> expected{L"", L"reset_premium_points", fromLevel ? L"return_ac" : L"back_ac"};
        EXPECT_EQ(Answers(open, points), expected);
    }

    // The gem shop: packs without a store answer nothing; with one, their ids.
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < kGemPackCount; ++i)
        points.push_back({PackX(i) + kPackWidth / 2, kPackY + kPackHeight / 2});
    points.push_back({kBackInX, kBackInY});
    const auto openGemShop = [&] {
        Hud()->ShowGemShop(L"shop0");
        Step();
    };
    EXPECT_EQ(Answers(openGemShop, points), (std::set<std::wstring>{L"", L"back_in"}));
    auto* provider = new hvtest::FakeProvider;
    purchase::PurchaseSystemTestAccess::SetProvider(provider);
    for (const wchar_t* id : GemPackProductIds)
        purchase::PurchaseSystemTestAccess::AddProduct(id, 0);
    EXPECT_EQ(Answers(openGemShop, points), (std::set<std::wstring>{L"buy_50_cr", L"buy_150_cr", L"buy_300_cr",
                                                                    L"buy_500_cr", L"buy_1000_cr", L"back_in"}));

    // The reset question, in state 26.
    Hud()->ShowShop(false);
    Step();
    const auto reset = Centre(*Top()->FindButton(L"reset_premium_points"));
    Tap(reset.first, reset.second);
    ASSERT_NE(dynamic_cast<HUDModalDialog*>(Top()), nullptr);
    EXPECT_EQ(map->mScreenState, screen::kResetUpgrades);
    // The dialog's two buttons answer "ok" and "cancel".
    EXPECT_EQ(Top()->Click(kDialogOkX, kDialogButtonY), L"ok");
    EXPECT_EQ(Top()->Click(kDialogCancelX, kDialogButtonY), L"cancel");
}

TEST_F(ShopFlowTest, TheDispatcherActsOnEveryAnswer)
{
    // Result window: "menu" opens the level select, "close" the shop after the level.
    map->Win();
    Step();
    Tap(Centre(*Top()->FindButton(L"menu")).first, Centre(*Top()->FindButton(L"menu")).second);
    EXPECT_EQ(map->mScreenState, screen::kLevelSelect);
    EXPECT_NE(dynamic_cast<HUDLevelSelect*>(Top()), nullptr);
    CloseAll();
    map->Lose();
    Step();
    Tap(Centre(*Top()->FindButton(L"close")).first, Centre(*Top()->FindButton(L"close")).second);
    ASSERT_NE(dynamic_cast<HUDShopWindow*>(Top()), nullptr);
    EXPECT_EQ(map->mScreenState, screen::kShop);
    CloseAll();

    // Shop from the main menu: back to it.
    Hud()->ShowShop(false);
    NQMap::sShopReturnTarget = L"mmenu";
    Step();
    Tap(Centre(*Top()->FindButton(L"back_ac")).first, Centre(*Top()->FindButton(L"back_ac")).second);
    EXPECT_EQ(map->mScreenState, screen::kMainMenu);
    EXPECT_NE(dynamic_cast<HUDMainMenu*>(Top()), nullptr);
    CloseAll();

    // Reset: "ok" refunds and every plate shows step 0.
    SetGems(100);
    Hud()->ShowShop(false);
    Step();
    Tap(kBuyX, kBuyY);
    Tap(kBuyX, kBuyY);
    EXPECT_EQ(map->mEconomy->mGems, 100 - StepCost(0) - StepCost(1));
    const auto reset = Centre(*Top()->FindButton(L"reset_premium_points"));
    Tap(reset.first, reset.second);
    ASSERT_NE(dynamic_cast<HUDModalDialog*>(Top()), nullptr);
    Tap(kDialogOkX, kDialogButtonY);
    auto* afterReset = dynamic_cast<HUDShopWindow*>(Top());
    ASSERT_NE(afterReset, nullptr);
    EXPECT_EQ(map->mScreenState, screen::kShop);
    EXPECT_EQ(map->mEconomy->mGems, 100);
    EXPECT_EQ(map->mProgress->GetUpgradeLevel(1), -1);
    EXPECT_EQ(afterReset->mPlates[0]->mStepText->GetText(), L"S1k0");
    // "cancel" closes the question and changes nothing.
    Tap(kBuyX, kBuyY);
    Tap(reset.first, reset.second);
    Tap(kDialogCancelX, kDialogButtonY);
    ASSERT_NE(dynamic_cast<HUDShopWindow*>(Top()), nullptr);
    EXPECT_EQ(map->mScreenState, screen::kShop);
    EXPECT_EQ(map->mProgress->GetUpgradeLevel(1), 0);
    CloseAll();

    // Gem shop: a pack asks the store; "back_in" reopens the shop of its target.
    auto* provider = new hvtest::FakeProvider;
    purchase::PurchaseSystemTestAccess::SetProvider(provider);
    purchase::Product* pack = purchase::PurchaseSystemTestAccess::AddProduct(L"buy_300_cr", 0);
    Hud()->ShowGemShop(L"shop0");
    Step();
    Tap(PackX(2) + kPackWidth / 2, kPackY + kPackHeight / 2);
    ASSERT_EQ(provider->purchases.size(), 1u);
    EXPECT_EQ(provider->purchases[0], pack);
    Tap(kBackInX, kBackInY);
    auto* shop = dynamic_cast<HUDShopWindow*>(Top());
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->mFromLevel, 0);
}
} // namespace
} // namespace gametest
