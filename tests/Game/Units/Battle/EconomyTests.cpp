// The level's wallet: combo, shown gold, gem saves, the level record, the
// difficulty factor and the upgrade refund.
#include "BattleFixture.h"

#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using gametest::BattleTest;
using gametest::CountCalls;

// A wave far in the future keeps the level running.
const std::string kQuietLevel =
    gametest::StraightLevelXml("<wave timeout=\"1000\" spawn=\"1\"><e id=\"50\" upgrade=\"1\"/></wave>\n");

class EconomyTest : public BattleTest
{
protected:
    NQLevelEconomy& Fresh()
    {
        if (!map)
            BuildLevel();
        NQLevelEconomy& economy = *map->mEconomy;
        economy.Reset();
        economy.mTimeSinceLastKill = 0.0f;
        return economy;
    }
};

TEST_F(EconomyTest, ComboBonusByCount)
{
    const std::pair<int, int> cases[] = {{2, 3}, {3, 4}, {4, 5}, {5, 7}, {6, 8}, {10, 13}};
    for (const auto& [count, bonus] : cases)
    {
        NQLevelEconomy& economy = Fresh();
        for (int i = 0; i < count; ++i)
            economy.OnKill(10, 0.0f, 0.0f);
        EXPECT_EQ(economy.mComboCount, count);
        economy.Update(1.01f);
        EXPECT_EQ(economy.mComboBonus, bonus) << count;
        EXPECT_EQ(economy.mGold, 10 * count + bonus) << count;
        EXPECT_EQ(economy.mKillScore, 10 * count) << count;
        EXPECT_EQ(economy.mComboCount, 0);
    }
}

TEST_F(EconomyTest, AKillOneSecondLaterJoinsAndASingleKillPaysNothing)
{
    NQLevelEconomy& economy = Fresh();
    economy.OnKill(5, 0.0f, 0.0f);
    economy.Update(1.0f);
    economy.OnKill(5, 0.0f, 0.0f);
    EXPECT_EQ(economy.mComboCount, 2);

    NQLevelEconomy& single = Fresh();
    single.OnKill(5, 0.0f, 0.0f);
    single.Update(0.5f);
    single.Update(0.6f);
    EXPECT_EQ(single.mComboBonus, 0);
    EXPECT_EQ(single.mGold, 5);
    EXPECT_EQ(single.mComboCount, 0);
}

TEST_F(EconomyTest, ALateKillSettlesTheRunningComboFirst)
{
    NQLevelEconomy& economy = Fresh();
    economy.OnKill(1, 0.0f, 0.0f);
    economy.OnKill(1, 0.0f, 0.0f);
    economy.OnKill(1, 0.0f, 0.0f);
    // Past the window without the step settling it.
    economy.mTimeSinceLastKill = 1.5f;
    economy.OnKill(1, 0.0f, 0.0f);
    EXPECT_EQ(economy.mComboBonus, 4);
    EXPECT_EQ(economy.mComboCount, 0);
    // Settled once: the step finds nothing to pay.
    economy.Update(2.0f);
    EXPECT_EQ(economy.mComboBonus, 4);
}

TEST_F(EconomyTest, AtSpeedZeroTheComboStillSettlesAfterOneSecond)
{
    StartBattleOn(kQuietLevel);
    map->mSpeed = 0.0f;
    Economy().OnKill(10, 0.0f, 0.0f);
    Economy().OnKill(10, 0.0f, 0.0f);
    StepSeconds(0.9f);
    EXPECT_EQ(Economy().mComboBonus, 0);
    StepSeconds(0.2f);
    EXPECT_EQ(Economy().mComboBonus, 3);
}

TEST_F(EconomyTest, TheShownGoldCountsFourThenOneAFrame)
{
    struct Case
    {
        int change;
        std::vector<int> shown;
    };
    const Case cases[] = {{10, {4, 8, 9, 10, 10}}, {-5, {-4, -5, -5}}};
    for (const Case& c : cases)
    {
        NQLevelEconomy& economy = Fresh();
        economy.mTimeSinceLastKill = 0.0f;
        economy.AddGold(c.change);
        for (size_t i = 0; i < c.shown.size(); ++i)
        {
            gametest::CallLog().clear();
            economy.Update(0.0f);
            EXPECT_EQ(economy.mShownGold, c.shown[i]) << c.change << " frame " << i;
            const bool moved = i == 0 || c.shown[i] != c.shown[i - 1];
            EXPECT_EQ(CountCalls("HUD.UpdateGoldText"), moved ? 1 : 0) << c.change << " frame " << i;
        }
    }
}

TEST_F(EconomyTest, SpendingGemsBeyondTheTotalTakesNothingButSaves)
{
    LoadProfiles(gametest::ProfilesXml(1, 3));
    BuildLevel();
    NQLevelEconomy& economy = *map->mEconomy;
    economy.mGems = 3;
    profiles->WriteFile("");
    gametest::CallLog().clear();
    economy.SpendGems(5);
    EXPECT_EQ(economy.mGems, 3);
    EXPECT_NE(profiles->FileText().find("amount=\"3\""), std::string::npos) << profiles->FileText();
    EXPECT_EQ(CountCalls("HUD.UpdateGemsText"), 1);

    economy.SpendGems(2);
    EXPECT_EQ(economy.mGems, 1);
    EXPECT_EQ(map->mProgress->GetGems(), 1);
}

TEST_F(EconomyTest, SpendingGoldHasNoCheckAndCountsTheSpending)
{
    NQLevelEconomy& economy = Fresh();
    economy.mGold = 5;
    economy.SpendGold(8);
    EXPECT_EQ(economy.mGold, -3);
    EXPECT_EQ(economy.mSpentGold, 8);
    economy.Reset();
    EXPECT_EQ(economy.mSpentGold, 0);
}

TEST_F(EconomyTest, LevelRecordScalesTheLivesInDouble)
{
    const std::pair<float, int> cases[] = {{7.9f, 790}, {0.5f, 50}, {0.57f, 56}};
    NQLevelEconomy& economy = Fresh();
    economy.mKillScore = 120;
    economy.mComboBonus = 9;
    map->mMode = 2;
    for (const auto& [lives, bonus] : cases)
    {
        map->mLives = lives;
        NQLevelRecord record;
        record.high = 77;
        record.stars = 3;
        record.gems = 4;
        NQLevelRecord& filled = economy.MakeLevelRecord(record);
        EXPECT_EQ(&filled, &record);
        EXPECT_EQ(record.healthBonus, bonus) << lives;
        EXPECT_EQ(record.kills, 120);
        EXPECT_EQ(record.combo, 9);
        EXPECT_EQ(record.stars, 0);
        EXPECT_EQ(record.gems, 0);
        EXPECT_EQ(record.mode, 2);
        EXPECT_EQ(record.high, 77);
    }
}

TEST_F(EconomyTest, DifficultyFactorByMode)
{
    BuildLevel();
    const float factors[] = {-0.1f, 0.0f, 0.1f, 0.0f};
    for (int mode = 0; mode < 4; ++mode)
    {
        map->mMode = mode;
        EXPECT_EQ(map->GetDifficultyFactor(), factors[mode]) << mode;
    }
}

TEST_F(EconomyTest, ResetKeepsTheGemsAndTheComboTimer)
{
    NQLevelEconomy& economy = Fresh();
    economy.mGems = 40;
    economy.mGold = 90;
    economy.mShownGold = 80;
    economy.mKillScore = 7;
    economy.mComboBonus = 3;
    economy.mGemsGained = 2;
    economy.mComboCount = 4;
    economy.mTimeSinceLastKill = 0.25f;
    economy.Reset();
    EXPECT_EQ(economy.mGems, 40);
    EXPECT_EQ(economy.mTimeSinceLastKill, 0.25f);
    EXPECT_EQ(economy.mComboWindow, 1.0f);
    for (int value : {economy.mGold, economy.mShownGold, economy.mKillScore, economy.mComboBonus,
                      economy.mGemsGained, economy.mComboCount})
        EXPECT_EQ(value, 0);
}

TEST_F(EconomyTest, ResetUpgradesRefundsTheBoughtSteps)
{
    data->Write("nq/upgrades.xml", R"(<upgrades>
  <upgrade id="1"><targets><target id="50"/></targets><steps>
    <step cost_r="5"/><step cost_r="7"/><step cost_r="9"/><step cost_r="11"/></steps></upgrade>
  <upgrade id="2"><targets><target id="50"/></targets><steps><step cost_r="10"/><step cost_r="25"/></steps></upgrade>
  <upgrade id="3"><targets><target id="50"/></targets><steps><step cost_r="100"/></steps></upgrade>
  <upgrade id="4"><targets><target id="50"/></targets><steps><step cost_r="200"/></steps></upgrade>
</upgrades>
)");
    // Upgrade 2 is bought past its last step, 3 not bought, 4 has no entry.
    LoadProfiles(gametest::ProfilesXml(1, 6,
                                       "<upgrades><upgrade id=\"1\" level=\"2\"/><upgrade id=\"2\" level=\"5\"/>"
                                       "<upgrade id=\"3\" level=\"-1\"/></upgrades>"));
    BuildLevel();
    map->mEconomy->mGems = 6;
    NQProgress& progress = *map->mProgress;
    gametest::CallLog().clear();

    map->ResetUpgrades();

    EXPECT_EQ(map->mEconomy->mGems, 6 + (5 + 7 + 9) + (10 + 25));
    EXPECT_EQ(progress.GetUpgradeLevel(1), -1);
    EXPECT_EQ(progress.GetUpgradeLevel(2), -1);
    EXPECT_EQ(progress.GetUpgradeLevel(3), -1);
    // Never written: the saved profile still has no entry for it.
    EXPECT_EQ(profiles->FileText().find("id=\"4\""), std::string::npos) << profiles->FileText();
    EXPECT_EQ(progress.GetGems(), map->mEconomy->mGems);
    EXPECT_EQ(CountCalls("HUD.UpdateGemsText"), 1);

    // Nothing left to refund: one gem store all the same.
    profiles->WriteFile("");
    map->ResetUpgrades();
    EXPECT_EQ(CountCalls("HUD.UpdateGemsText"), 2);
    EXPECT_NE(profiles->FileText().find("amount=\"62\""), std::string::npos);
}
} // namespace
