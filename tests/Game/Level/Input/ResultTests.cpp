// Defeat, the in-game menu's confirmations and store results in the level.
#include "InputFixture.h"

#include "CallLog.h"
#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseResult.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTowerSpecial.h"
#include "support/FakePurchaseProvider.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using gametest::CountCalls;
using gametest::InputTest;
namespace units = gametest::units;

class ResultTest : public InputTest
{
};

TEST_F(ResultTest, LastLivesLostEndTheLevelOnce)
{
    map->mLives = 3.0f;
    gametest::CallLog().clear();
    for (int unit : {units::kStrong, units::kWeak, units::kStrong})
    {
        NQEnemy* enemy = SpawnNow(unit);
        ASSERT_NE(enemy, nullptr);
        map->OnEnemyReachedGoal(enemy);
    }
    EXPECT_EQ(map->mLives, 0.0f);
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_EQ(CountCalls("HUD.PushWindow"), 1);
    EXPECT_EQ(CountTag(L"loseSound"), 1);
}

TEST_F(ResultTest, DefeatCountsTheLyingGemsAndShowsTheResult)
{
    for (int state : {NQTowerSpecial::kLying, NQTowerSpecial::kFlyingOut, NQTowerSpecial::kCollected,
                      NQTowerSpecial::kLying})
        AddDrop(state);
    Economy().mGems = 4;
    Economy().mGemsGained = 0;
    map->mSpeed = 2.0f;
    // A defeat has no lives left, so the result window pays no stars.
    map->mLives = 0.0f;
    map->Lose();
    EXPECT_EQ(Economy().mGems, 7);
    EXPECT_EQ(Economy().mGemsGained, 3);
    EXPECT_TRUE(map->mDrops->empty());
    EXPECT_NE(profiles->FileText().find("amount=\"7\""), std::string::npos);
    EXPECT_EQ(map->mSpeed, 0.0f);
    EXPECT_TRUE(Hud()->IsEnabled(L"pause_btn_ac"));
    EXPECT_EQ(map->mPendingResult, 1);
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_TRUE(SoundSystem::Instance()->GetCurrentMusicName().empty());
    EXPECT_EQ(CountTag(L"loseSound"), 1);

    HUDLevelResultWindow* window = PushedResultWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(*window, L"levelResult"), L"Defeat");
    EXPECT_EQ(Text(*window, L"gameName"), L"Normal");
    EXPECT_EQ(Text(*window, L"killScore"), L"Kills:0");
    EXPECT_EQ(Text(*window, L"goldBonus"), L"");
    EXPECT_EQ(Text(*window, L"lifeBonus"), L"Lives:0");
    EXPECT_EQ(Text(*window, L"totalScore"), L"Total:0");
    EXPECT_EQ(Text(*window, L"gems"), L"Gems: 3");
}

TEST_F(ResultTest, DefeatWithoutDropsStillSavesAndHardcoreHasNoModeName)
{
    Economy().mGems = 4;
    map->mMode = 3;
    map->mLives = 0.0f;
    const int refreshes = CountCalls("HUD.UpdateGemsText");
    map->Lose();
    EXPECT_EQ(Economy().mGems, 4);
    EXPECT_EQ(CountCalls("HUD.UpdateGemsText"), refreshes + 1);
    ASSERT_NE(PushedResultWindow(), nullptr);
    EXPECT_EQ(Text(*PushedResultWindow(), L"gameName"), L"");
    EXPECT_EQ(Text(*PushedResultWindow(), L"gems"), L"Gems: 0");
}

TEST_F(ResultTest, ResultCommands)
{
    struct Case
    {
        const wchar_t* action;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        // Leaving the level takes the tutorial's hints with it.
        {L"mmenu", {"Tutorial.ClearHints", "HUD.CloseTopWindow", "HUD.ShowMainMenu"}},
        {L"levels", {"Tutorial.ClearHints", "HUD.CloseTopWindow", "HUD.ShowLevelSelect"}},
        {L"resume", {}},
    };
    for (const Case& c : cases)
    {
        gametest::CallLog().clear();
        map->OnResultCommand(c.action);
        std::vector<std::string> calls;
        for (const auto& call : gametest::CallLog())
            calls.push_back(call.call);
        EXPECT_EQ(calls, c.calls) << gametest::Narrow(c.action);
    }

    NQTower* tower = BuildOn(kOpenSpot, gametest::towers::kCannon);
    ASSERT_NE(tower, nullptr);
    Hud()->mBackdropState = HUD::kBackdropShown;
    map->mScreenState = screen::kIngameMenu;
    gametest::CallLog().clear();
    map->OnResultCommand(L"restart");
    EXPECT_EQ(CountCalls("HUD.CloseTopWindow"), 1);
    EXPECT_EQ(Hud()->mBackdropState, HUD::kBackdropOff);
    // The level started again: no tower stands.
    EXPECT_TRUE(map->mTowers.empty());
}

TEST_F(ResultTest, MessageBoxConfirmHandsItsActionToTheLevel)
{
    TMessageBox box(L"progress_confirm_text", L"levels");
    gametest::CallLog().clear();
    box.Confirm();
    EXPECT_EQ(CountCalls("HUD.ShowLevelSelect"), 1);
}

TEST_F(ResultTest, GemPacksAreCreditedOnlyForConsumedSuccesses)
{
    struct Case
    {
        const wchar_t* id;
        int state;
        int type;
        int gems;
    };
    const Case cases[] = {
        {L"buy_150_cr", 0, 2, 335},   {L"buy_50_cr", 0, 0, 100},  {L"buy_1000_cr", 0, 0, 3125},
        {L"buy_500_cr", 0, 1, 0},     {L"buy_300_cr", 0, 3, 0},   {L"buy_300_cr", 2, 0, 0},
        {L"buy_75_cr", 0, 0, 0},      {L"extra_energy", 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        purchase::Product product;
        product.id = c.id;
        product.state = c.state;
        Economy().mGems = 10;
        purchase::PurchaseSystem::Broadcast(TPurchaseResult{&product, c.type});
        EXPECT_EQ(Economy().mGems, 10 + c.gems) << gametest::Narrow(c.id) << " " << c.type;
    }
    Economy().mGems = 10;
    purchase::PurchaseSystem::Broadcast(TPurchaseResult{nullptr, 0});
    EXPECT_EQ(Economy().mGems, 10);
}

TEST_F(ResultTest, BoughtHealthRefillsAndResumesAnyOtherOutcomeAsksAgain)
{
    auto* button = new HUDSpellButton(0);
    Hud()->mSpellButtons.push_back(button);
    button->StartCooldown();
    purchase::Product product;
    product.id = L"buy_health";
    product.message = L"0.99";
    map->mMaxLives = 20.0f;
    map->mLives = 0.0f;
    map->mScreenState = screen::kWaitingForStore;
    Hud()->mBackdropState = HUD::kBackdropShown;
    purchase::PurchaseSystem::Broadcast(TPurchaseResult{&product, 0});
    EXPECT_EQ(map->mLives, 20.0f);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    EXPECT_EQ(Hud()->mBackdropState, HUD::kBackdropOff);
    EXPECT_GE(CountCalls("HUD.UpdateLivesText"), 1);
    EXPECT_FALSE(button->IsCooling());

    for (int type : {1, 2, 3})
    {
        map->mLives = 0.0f;
        gametest::CallLog().clear();
        purchase::PurchaseSystem::Broadcast(TPurchaseResult{&product, type});
        EXPECT_EQ(map->mLives, 0.0f);
        EXPECT_EQ(CountCalls("HUD.ShowModalDialog Health|Buy for 0.99|-1"), 1) << type;
        EXPECT_EQ(map->mScreenState, screen::kPurchaseResult);
    }
    Hud()->mSpellButtons.clear();
    delete button;
}
} // namespace

namespace
{
TEST_F(ResultTest, GemPackBoughtThroughTheStoreIsCredited)
{
    auto* provider = new hvtest::FakeProvider;
    purchase::PurchaseSystemTestAccess::SetProvider(provider);
    purchase::Product* pack = purchase::PurchaseSystemTestAccess::AddProduct(L"buy_150_cr", 0);
    map->mScreenState = screen::kGemShop;
    Hud()->targets = {{L"buy_150_cr", -1, {0, 0, 100, 100}}};
    Economy().mGems = 5;
    map->OnMouseUp(50, 50);
    ASSERT_EQ(provider->purchases.size(), 1u);
    EXPECT_EQ(provider->purchases[0], pack);
    ASSERT_NE(provider->reportTo, nullptr);
    provider->reportTo->OnPurchaseSuccess(pack);
    EXPECT_EQ(Economy().mGems, 340);
}
} // namespace
