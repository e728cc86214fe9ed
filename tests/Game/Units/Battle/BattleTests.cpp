// Whole battles: leaks and defeat, kills by map areas over linked groups, the
// abilities together, and determinism.
#include "BattleFixture.h"

#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Units/Modifiers/DotModifierArea.h"
#include "Game/Units/Modifiers/FireSplashModifier.h"
#include "Game/Units/NQEnemy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace
{
using gametest::BattleTest;
using gametest::CountCalls;
using gametest::EntryXml;
using gametest::WaveXml;
namespace units = gametest::units;

TEST_F(BattleTest, LeaksCostLivesAndTheLastLifeLosesTheLevelOnce)
{
    StartBattleOn(gametest::StraightLevelXml(WaveXml(
        "spawn=\"1\"", EntryXml(units::kStrong, 0.0f) + EntryXml(units::kWeak, 45.0f) + EntryXml(units::kGrunt, 90.0f))));
    map->mLives = 3.0f;
    int guard = 0;
    while (map->mLives == 3.0f && guard++ < 6000)
        Step(frameTime);
    EXPECT_EQ(map->mLives, 0.5f);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    StepUntilEnd();
    EXPECT_EQ(map->mLives, 0.0f);
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_EQ(map->mSpeed, 0.0f);

    // The third enemy reaches the goal after the defeat: nothing changes.
    NQEnemy* late = FindEnemy(units::kGrunt);
    ASSERT_NE(late, nullptr);
    gametest::CallLog().clear();
    map->OnEnemyReachedGoal(late);
    EXPECT_EQ(map->mLives, 0.0f);
    EXPECT_EQ(CountCalls("HUD.UpdateLivesText"), 0);
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_EQ(late->mEntry->mState, 3);
}

TEST_F(BattleTest, InHardcoreTheFirstLeakLoses)
{
    // Episode 2: the first hardcore level would announce its unlocks first.
    WriteLevel(gametest::StraightLevelXml(WaveXml("spawn=\"1\"", EntryXml(units::kGrunt, 0.0f))), 3, 1, 0);
    StartBattle(3, 1, 0);
    EXPECT_EQ(map->mLives, 1.0f);
    StepUntilEnd();
    EXPECT_EQ(map->mScreenState, screen::kLost);
    EXPECT_EQ(map->mLives, 0.0f);
    ASSERT_FALSE(effects.empty());
    EXPECT_EQ(effects.back().name, "damage_h");
    EXPECT_EQ(effects.back().list, "anchor");
}

TEST_F(BattleTest, MapAreasKillTwoLinkedGroups)
{
    // Group 1: A (spawn 1) with B (spawn 2) linked to it; group 2: C.
    StartBattleOn(gametest::ForkLevelXml(
        WaveXml("spawn=\"1\" wipeAward=\"15\"",
                EntryXml(units::kGrunt, 0.0f) + EntryXml(units::kGrunt, 20.0f) + EntryXml(units::kGrunt, 40.0f)) +
        WaveXml("spawn=\"2\" linked=\"0\" wipeAward=\"25\"",
                EntryXml(units::kGrunt, 0.0f, -20.0f) + EntryXml(units::kGrunt, 30.0f, -100.0f)) +
        WaveXml("timeout=\"2\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f) + EntryXml(units::kGrunt, 10.0f))));
    map->mDropChanceOverride = 1.0f;
    auto* dots = new DotModifierArea(175.0f, 250.0f, 200.0f, 6.0f, 4.0f);
    PlaceMapModifier(dots);
    auto* fire = new FireSplashModifier("", 10.0f, 60.0f, nullptr, 450.0f, 400.0f, 300.0f);
    fire->mPeriod = 0.5f;
    PlaceMapModifier(fire);

    int groupEndFrame = -1;
    int winFrame = -1;
    for (int frame = 1; frame <= 60 * 60 && winFrame < 0; ++frame)
    {
        const int done = Waves().mGroupsDone;
        Step(frameTime);
        if (Waves().mGroupsDone == 2 && done == 1)
            groupEndFrame = frame;
        if (map->mScreenState == screen::kWon)
            winFrame = frame;
    }
    ASSERT_GT(groupEndFrame, 0);
    EXPECT_EQ(winFrame, groupEndFrame + 1);
    EXPECT_EQ(map->mLives, 25.0f) << "nobody leaked";
    EXPECT_EQ(Economy().mKillScore, 70);
    EXPECT_EQ(CountEvent(L"gem_dropped"), 7);
    EXPECT_EQ(CountTag(L"enemy50die"), 7);
    EXPECT_EQ(Economy().mGold, 100 + 70 + Economy().mComboBonus + 15 + 25);
    EXPECT_GT(Economy().mComboBonus, 0);
    EXPECT_EQ(CountEvent(L"wave_vanish_1"), 1);
    EXPECT_EQ(CountEvent(L"wave_vanish_3"), 1);
    // The fire outlived the battle; the dot area ended and went.
    EXPECT_EQ(map->mModifiers.size(), 1u);
}

class AbilitiesBattle : public BattleTest
{
protected:
    // Healers, a shaman, a carrier, a raiser and the invisible units on the
    // straight road, burnt down by an area in its middle.
    void StartAbilities()
    {
        StartBattleOn(gametest::StraightLevelXml(
            WaveXml("spawn=\"1\"", EntryXml(units::kShaman, 0.0f) + EntryXml(units::kHealer, 20.0f) +
                                       EntryXml(units::kGrunt, 30.0f, -30.0f) +
                                       EntryXml(units::kCarrier, 60.0f, -100.0f) +
                                       EntryXml(units::kInvisible, 70.0f) +
                                       EntryXml(units::kInvisibleArea, 80.0f, -20.0f) +
                                       EntryXml(units::kHealer, 90.0f) + EntryXml(units::kGrunt, 100.0f)) +
            WaveXml("spawn=\"1\" linked=\"0\"",
                    EntryXml(units::kRaiser, 50.0f) + EntryXml(units::kRegen, 110.0f) + EntryXml(units::kHaste, 120.0f))));
        auto* fire = new FireSplashModifier("", 8.0f, 1000.0f, nullptr, 420.0f, 400.0f, 300.0f);
        fire->mPeriod = 0.25f;
        PlaceMapModifier(fire);
    }
};

TEST_F(AbilitiesBattle, AbilitiesActTogetherAndResetLeavesTheFileEntries)
{
    StartAbilities();
    std::set<int> seen;
    bool invisible = false;
    bool healMark = false;
    bool hasted = false;
    int frames = 0;
    while (map->mScreenState == screen::kPlaying && frames < 60 * 120)
    {
        Step(frameTime);
        ++frames;
        for (const NQEnemy* enemy : Enemies())
        {
            seen.insert(enemy->mEntry->mId);
            invisible = invisible || enemy->mInvisibleTimer > 0.0f;
            hasted = hasted || enemy->mSpeedFactorTarget == 2.0f;
        }
        healMark = healMark || !map->mHints->empty();
    }
    EXPECT_EQ(map->mScreenState, screen::kWon);
    for (const int id : {units::kSummoned, units::kCargo, units::kUndead})
        EXPECT_EQ(seen.count(id), 1u) << id;
    EXPECT_TRUE(invisible);
    EXPECT_TRUE(healMark);
    EXPECT_TRUE(hasted);
    EXPECT_GT(CountTag(L"enemy71special"), 0);

    const size_t fileEntries = 11;
    size_t entries = 0;
    for (const NQWaveProto* wave : Waves().mWaves)
        entries += wave->mEntries.size();
    EXPECT_GT(entries, fileEntries);
    Waves().Reset();
    entries = 0;
    for (const NQWaveProto* wave : Waves().mWaves)
        for (const NQWaveEntry* entry : wave->mEntries)
        {
            ++entries;
            EXPECT_NE(entry->mX, -1.0f);
            EXPECT_EQ(entry->mState, -1);
        }
    EXPECT_EQ(entries, fileEntries);
}

TEST_F(AbilitiesBattle, TheSameSeedGivesTheSameBattle)
{
    std::vector<uint64_t> runs[2];
    for (std::vector<uint64_t>& digests : runs)
    {
        StartAbilities();
        while (map->mScreenState == screen::kPlaying && digests.size() < 60 * 120)
        {
            Step(frameTime);
            digests.push_back(Digest());
        }
    }
    ASSERT_EQ(runs[0].size(), runs[1].size());
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_GT(runs[0].size(), 60u);
}
} // namespace
