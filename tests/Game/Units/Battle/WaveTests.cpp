// The wave step: spawn moments, groups, the level's end, markers and the
// accounting of dead enemies.
#include "BattleFixture.h"

#include "Game/Data/NQFrameEntry.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Units/NQEnemy.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using gametest::BattleTest;
using gametest::CountCalls;
using gametest::EntryXml;
using gametest::WaveXml;
namespace units = gametest::units;

constexpr float kHalfSecond = 0.5f;

// Kills every live enemy at once.
void KillAll(const std::vector<NQEnemy*>& enemies)
{
    for (NQEnemy* enemy : enemies)
        enemy->ApplyDamage(1.0e6f);
}

class WaveTest : public BattleTest
{
protected:
    // Steps until the first entry of the wave is spawned; false past the limit.
    bool StepUntilSpawned(const NQWaveEntry* entry, int limit = 1000)
    {
        for (int i = 0; i < limit; ++i)
        {
            if (entry->mSpawned)
                return true;
            Step(frameTime);
        }
        return entry->mSpawned;
    }
};

TEST_F(WaveTest, SpawnMomentsFollowTimeoutScaleXAndTheGlobalDelay)
{
    struct Case
    {
        const char* timeout;
        const char* scale;
        float x;
        float delay;
        float moment;
    };
    const Case cases[] = {
        {"5", "2", 90.0f, 0.0f, 9.0f},
        {"5", "2", 90.0f, 2.7f, 11.0f},
        {"5", "1", -45.0f, 0.0f, 4.0f},
        {"5", "0", 90.0f, 0.0f, 7.0f},
    };
    frameTime = kHalfSecond;
    for (const Case& c : cases)
    {
        StartBattleOn(gametest::StraightLevelXml(
            WaveXml(std::string("timeout=\"") + c.timeout + "\" spawn=\"1\" scale=\"" + c.scale + "\"",
                    EntryXml(units::kTank, c.x)),
            c.delay));
        const NQWaveProto* wave = Waves().mWaves[0];
        const NQWaveEntry* entry = wave->mEntries[0];
        ASSERT_TRUE(StepUntilSpawned(entry));
        EXPECT_EQ(wave->mTime, c.moment) << c.x << " delay " << c.delay;
        EXPECT_EQ(entry->mState, 7);
    }
}

TEST_F(WaveTest, AtSpeedTwoTheMomentComesAfterHalfTheRealTime)
{
    frameTime = kHalfSecond;
    StartBattleOn(gametest::StraightLevelXml(
        WaveXml("timeout=\"5\" spawn=\"1\" scale=\"2\"", EntryXml(units::kTank, 90.0f))));
    map->mSpeed = 2.0f;
    Step(frameTime); // the group starts
    const NQWaveEntry* entry = Waves().mWaves[0]->mEntries[0];
    int frames = 0;
    while (!entry->mSpawned && frames < 100)
    {
        Step(frameTime);
        ++frames;
    }
    EXPECT_EQ(float(frames) * frameTime, 4.5f);
}

TEST_F(WaveTest, LinkedWavesRunAndEndAsOneGroup)
{
    // A, B linked to A, C.
    StartBattleOn(gametest::StraightLevelXml(
        WaveXml("timeout=\"0\" spawn=\"1\"", EntryXml(units::kTank, 0.0f)) +
        WaveXml("timeout=\"0\" spawn=\"1\" linked=\"0\"", EntryXml(units::kTank, 45.0f)) +
        WaveXml("timeout=\"0\" spawn=\"1\"", EntryXml(units::kTank, 0.0f))));
    NQWaveManager& waves = Waves();
    EXPECT_EQ(waves.GetWaveCount(), 2);
    gametest::CallLog().clear();
    tutorial->events.clear();

    Step(frameTime);
    ASSERT_EQ(waves.mActiveWaves.size(), 2u);
    EXPECT_EQ(waves.mActiveWaves[0], waves.mWaves[0]);
    EXPECT_EQ(waves.mActiveWaves[1], waves.mWaves[1]);
    EXPECT_EQ(waves.mWaves[2]->mState, 0);

    StepFrames(2);
    ASSERT_EQ(Enemies().size(), 1u);
    KillAll(Enemies());
    StepSeconds(1.5f);
    // A is finished, B still waits for its entry: the group runs on.
    EXPECT_TRUE(waves.mWaves[0]->IsFinished());
    EXPECT_EQ(waves.mActiveWaves.size(), 2u);
    EXPECT_EQ(CountEvent(L"wave_vanish_1"), 0);

    ASSERT_TRUE(StepUntilSpawned(waves.mWaves[1]->mEntries[0]));
    KillAll(Enemies());
    StepSeconds(1.5f);
    EXPECT_EQ(CountEvent(L"wave_vanish_1"), 1);
    EXPECT_EQ(waves.mGroupsDone, 1);
    // The skip over B, then C runs.
    EXPECT_EQ(waves.mNextWave, 2);
    ASSERT_EQ(waves.mActiveWaves.size(), 1u);
    EXPECT_EQ(waves.mActiveWaves[0], waves.mWaves[2]);

    StepFrames(2);
    KillAll(Enemies());
    StepSeconds(1.5f);
    EXPECT_EQ(CountEvent(L"wave_vanish_3"), 1);
    EXPECT_EQ(map->mScreenState, screen::kWon);
    // Group end, skip, group end.
    EXPECT_EQ(CountCalls("HUD.UpdateWavesText"), 3);
    std::vector<std::wstring> vanish;
    for (const std::wstring& event : tutorial->events)
        if (event.rfind(L"wave_vanish_", 0) == 0)
            vanish.push_back(event);
    EXPECT_EQ(vanish, (std::vector<std::wstring>{L"wave_vanish_1", L"wave_vanish_3"}));
}

TEST_F(WaveTest, AWaveLinkedToAnIndexThatNeverLeadsNeverRuns)
{
    StartBattleOn(gametest::StraightLevelXml(
        WaveXml("timeout=\"0\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f)) +
        WaveXml("timeout=\"0\" spawn=\"1\" linked=\"5\"", EntryXml(units::kGrunt, 0.0f))));
    StepFrames(2);
    KillAll(Enemies());
    const int frames = StepUntilEnd(600);
    EXPECT_LT(frames, 600);
    EXPECT_EQ(map->mScreenState, screen::kWon);
    EXPECT_EQ(Waves().mWaves[1]->mState, 0);
    EXPECT_FALSE(Waves().mWaves[1]->mEntries[0]->mSpawned);
}

TEST_F(WaveTest, AnEmptyWaveListIsWonAtTheFirstStep)
{
    StartBattleOn(gametest::StraightLevelXml(""));
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    Step(frameTime);
    EXPECT_EQ(map->mScreenState, screen::kWon);
}

TEST_F(WaveTest, TheWinComesInTheFrameAfterTheLastGroupEnds)
{
    StartBattleOn(gametest::StraightLevelXml(WaveXml("timeout=\"0\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f))));
    StepFrames(2);
    KillAll(Enemies());
    int guard = 0;
    while (Waves().mGroupsDone == 0 && guard++ < 600)
        Step(frameTime);
    ASSERT_EQ(Waves().mGroupsDone, 1);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    Step(frameTime);
    EXPECT_EQ(map->mScreenState, screen::kWon);
}

TEST_F(WaveTest, MarkersStandAtTheSpawnPointsUntilTheEarliestStart)
{
    frameTime = kHalfSecond;
    StartBattleOn(gametest::ForkLevelXml(
        WaveXml("timeout=\"5\" spawn=\"2\" scale=\"2\"", EntryXml(units::kTank, -90.0f)) +
        WaveXml("timeout=\"6\" spawn=\"-1\" linked=\"0\"", EntryXml(units::kTank, 0.0f))));
    NQWaveHintStrip* hints = map->mWaveHints;
    ASSERT_NE(hints, nullptr);
    Step(frameTime);
    ASSERT_EQ(hints->mHints.size(), 2u);
    // Wave A at point 2, wave B (spawn -1) at the first spawn point, 1.
    // The fixture has no hint picture: the hints are 0 x 0 at the points.
    EXPECT_EQ(hints->mHints[0]->mRect[0], 100.0f);
    EXPECT_EQ(hints->mHints[0]->mRect[1], 600.0f);
    EXPECT_EQ(hints->mHints[1]->mRect[0], 100.0f);
    EXPECT_EQ(hints->mHints[1]->mRect[1], 200.0f);
    // 5 + (-90 / 45) without the scale.
    EXPECT_EQ(hints->mNextWaveTime, 3.0f);

    // The clock is 0.5 after the starting step; it reaches 3 four steps on.
    StepFrames(4);
    EXPECT_EQ(Waves().mClock, 2.5f);
    EXPECT_EQ(hints->mHints.size(), 2u);
    Step(frameTime);
    EXPECT_TRUE(hints->mHints.empty());
}

TEST_F(WaveTest, SetClockMovesTheClockAndTheActiveWavesOnly)
{
    StartBattleOn(gametest::StraightLevelXml(
        WaveXml("timeout=\"5\" spawn=\"1\"", EntryXml(units::kTank, 0.0f)) +
        WaveXml("timeout=\"5\" spawn=\"1\"", EntryXml(units::kTank, 0.0f))));
    Step(frameTime);
    Waves().SetClock(4.0f);
    EXPECT_EQ(Waves().mClock, 4.0f);
    EXPECT_EQ(Waves().mWaves[0]->mTime, 4.0f);
    EXPECT_EQ(Waves().mWaves[1]->mTime, 0.0f);
}

TEST_F(WaveTest, TheWipeAwardIsPaidOnceAndNotAfterALeak)
{
    for (const bool leak : {false, true})
    {
        StartBattleOn(gametest::StraightLevelXml(WaveXml(
            "timeout=\"0\" spawn=\"1\" wipeAward=\"20\"",
            EntryXml(units::kGrunt, 0.0f) + EntryXml(units::kGrunt, 0.0f) + EntryXml(units::kGrunt, 450.0f))));
        StepFrames(2);
        ASSERT_EQ(Enemies().size(), 2u);
        KillAll(Enemies());
        StepSeconds(1.5f);
        const int baseGold = Economy().mGold - Economy().mKillScore - Economy().mComboBonus;
        EXPECT_EQ(baseGold, 100) << "no award before the wave's last kill";
        StepSeconds(9.0f);
        ASSERT_EQ(Enemies().size(), 1u);
        if (!leak)
            KillAll(Enemies());
        StepUntilEnd(60 * 60);
        const int gold = Economy().mGold - Economy().mKillScore - Economy().mComboBonus;
        EXPECT_EQ(gold, leak ? 100 : 120) << leak;
    }
}

TEST_F(WaveTest, GemDropsFollowTheChanceAndTheOverride)
{
    struct Case
    {
        int unit;
        float override;
        int kills;
        int drops;
    };
    const Case cases[] = {
        {units::kGrunt, 1.0f, 50, 50},
        {units::kDropper, 0.0f, 50, 50},
        {units::kGrunt, 0.0f, 1000, 0},
        {units::kGrunt, 0.99f, 200, 0},
    };
    for (const Case& c : cases)
    {
        StartBattleOn(gametest::StraightLevelXml(
            WaveXml("timeout=\"1000\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f))));
        map->mDropChanceOverride = c.override;
        NQWaveProto* wave = Waves().mWaves[0];
        for (int i = 0; i < c.kills; ++i)
        {
            auto* entry = new NQWaveEntry(wave);
            entry->mId = c.unit;
            entry->mX = -1.0f;
            wave->mEntries.push_back(entry);
            NQEnemy* enemy = Waves().AddEnemy(entry, nullptr);
            enemy->mInPlay = 0;
        }
        tutorial->events.clear();
        Waves().Update(0.0f);
        EXPECT_EQ(CountEvent(L"gem_dropped"), c.drops) << c.unit << " " << c.override;
        EXPECT_TRUE(Enemies().empty());
    }
}

TEST_F(WaveTest, ResetKeepsTheFileEntriesAndLeavesClockAndIndex)
{
    StartBattleOn(gametest::StraightLevelXml(
        WaveXml("timeout=\"0\" spawn=\"1\"", EntryXml(units::kGrunt, 0.0f) + EntryXml(units::kGrunt, 45.0f))));
    StepSeconds(1.5f);
    NQWaveManager& waves = Waves();
    NQWaveProto* wave = waves.mWaves[0];
    auto* added = new NQWaveEntry(wave);
    added->mX = -1.0f;
    wave->mEntries.push_back(added);
    waves.mNextWave = 1;
    waves.mGroupsDone = 3;
    const float clock = waves.mClock;
    ASSERT_GT(clock, 0.0f);
    // Enemies point at entries: they go first, as the level reset does.
    for (NQEnemy* enemy : waves.mEnemies)
        delete enemy;
    waves.mEnemies.clear();

    waves.Reset();

    ASSERT_EQ(wave->mEntries.size(), 2u);
    for (const NQWaveEntry* entry : wave->mEntries)
    {
        EXPECT_EQ(entry->mState, -1);
        EXPECT_FALSE(entry->mSpawned);
        EXPECT_NE(entry->mX, -1.0f);
    }
    EXPECT_EQ(wave->mState, 0);
    EXPECT_EQ(wave->mTime, 0.0f);
    EXPECT_EQ(wave->mSpawnedCount, 0);
    EXPECT_TRUE(waves.mActiveWaves.empty());
    EXPECT_EQ(waves.mGroupsDone, 0);
    EXPECT_EQ(waves.mNextWave, 1);
    EXPECT_EQ(waves.mClock, clock);
}

TEST_F(WaveTest, TutorialHearsTheSpawnCounts)
{
    std::string entries;
    for (int i = 0; i < 10; ++i)
        entries += EntryXml(units::kTank, float(i) * 4.5f);
    StartBattleOn(gametest::StraightLevelXml(WaveXml("timeout=\"0\" spawn=\"1\"", entries)));
    tutorial->events.clear();
    frameTime = 0.1f;
    StepSeconds(1.5f);
    EXPECT_EQ(CountEvent(L"wave_1_spawned_2"), 1);
    EXPECT_EQ(CountEvent(L"wave_1_spawned_10"), 1);
    // Every frame while the wave's time is below 1: times 0.1 .. 0.9 (the
    // starting frame does not advance the wave).
    EXPECT_EQ(CountEvent(L"wave_1_spawned_0"), 9);
    EXPECT_EQ(Waves().mWaves[0]->mSpawnedCount, 10);
}
} // namespace
