// The level's frame update: the two clocks, the freeze of the battle, the
// pending start and the effect anchors.
#include "BattleFixture.h"
#include "CallLog.h"
#include "RecordingHud.h"

#include "Core/Math/MathFunctions.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQTowerSpecial.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using gametest::BattleTest;
using gametest::CountCalls;

constexpr float kDt = 0.1f;

class FrameUpdateTest : public BattleTest
{
protected:
    void SetUp() override
    {
        BattleTest::SetUp();
        StartBattleOn(QuietLevelXml());
        ASSERT_NE(SpawnNow(gametest::units::kTank), nullptr);
        StepSeconds(1.0f);
    }

    NQFxAnchor* AddAnchor(const std::string& name, bool single, float firstDelay, float period)
    {
        auto* anchor = new NQFxAnchor;
        anchor->mEffectName = name;
        anchor->mSingle = single ? 1 : 0;
        anchor->mFirstDelay = firstDelay;
        anchor->mPeriod = period;
        anchor->mNextDelay = period;
        anchor->mX = 100.0f;
        anchor->mY = 200.0f;
        map->mFxAnchors->push_back(anchor);
        return anchor;
    }
};

TEST_F(FrameUpdateTest, TwoClocksAndTheFreeze)
{
    struct Case
    {
        NQScreenState state;
        float speed;
        bool battleMoves;
    };
    const Case cases[] = {
        {screen::kPlaying, 1.0f, true},      {screen::kPlaying, 2.0f, true},
        {screen::kPlaying, 0.0f, true},      {screen::kIngameMenu, 1.0f, false},
        {screen::kWon, 2.0f, false},         {screen::kGemsForGold, 1.0f, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " speed " << c.speed);
        map->mScreenState = c.state;
        map->mSpeed = c.speed;
        NQEnemy* tank = Enemies().at(0);
        const float gameTime = map->mGameTime;
        const float waveClock = Waves().mClock;
        const float x = tank->mX;
        Economy().mTimeSinceLastKill = 0.0f;
        Hud()->lastUpdateDt = -1.0f;
        map->Update(kDt);
        EXPECT_FLOAT_EQ(map->mFrameTime, kDt);
        EXPECT_NEAR(map->mGameTime - gameTime, c.speed * kDt, 1e-5f);
        // The HUD and the tutorial keep the real clock, paused or not.
        EXPECT_FLOAT_EQ(Hud()->lastUpdateDt, kDt);
        ASSERT_NE(tutorial, nullptr);
        EXPECT_FLOAT_EQ(tutorial->lastUpdateDt, kDt);
        const bool moves = c.battleMoves && c.speed > 0.0f;
        EXPECT_EQ(Waves().mClock - waveClock > 0.0f, moves);
        EXPECT_EQ(tank->mX != x, moves);
        // The economy's counters run on real time whenever the battle runs.
        EXPECT_FLOAT_EQ(Economy().mTimeSinceLastKill, c.battleMoves ? kDt : 0.0f);
    }
}

TEST_F(FrameUpdateTest, NothingRunsBeforeTheResourcesAreLoaded)
{
    map->mResourcesLoaded = false;
    const float gameTime = map->mGameTime;
    Hud()->lastUpdateDt = -1.0f;
    map->Update(kDt);
    EXPECT_EQ(map->mGameTime, gameTime);
    EXPECT_EQ(Hud()->lastUpdateDt, -1.0f);
    map->mResourcesLoaded = true;
}

TEST_F(FrameUpdateTest, APendingStartTakesTheWholeFrame)
{
    map->mLoadState = 2;
    const float gameTime = map->mGameTime;
    gametest::CallLog().clear();
    Hud()->lastUpdateDt = -1.0f;
    map->Update(kDt);
    EXPECT_EQ(map->mLoadState, 0);
    EXPECT_EQ(CountCalls("HUD.CloseTopWindow"), 1);
    // The level started again and nothing else ran.
    EXPECT_EQ(map->mGameTime, gameTime);
    EXPECT_EQ(Hud()->lastUpdateDt, -1.0f);
}

TEST_F(FrameUpdateTest, TheEndFlagOpensTheSelectScreens)
{
    struct Case
    {
        NQScreenState state;
        const char* shown;
    };
    for (const Case& c : {Case{screen::kEpisodeSelect, "HUD.ShowEpisodeSelect"},
                          Case{screen::kLevelSelect, "HUD.ShowLevelSelect"}})
    {
        map->mScreenState = c.state;
        map->mEndFlag = 1;
        gametest::CallLog().clear();
        map->Update(kDt);
        EXPECT_EQ(map->mEndFlag, 0);
        EXPECT_EQ(CountCalls("HUD.CloseTopWindow"), 1);
        EXPECT_EQ(CountCalls(c.shown), 1);
    }
}

TEST_F(FrameUpdateTest, AWindowDeletesTheRingInTheNextFrame)
{
    map->mContextMenu = new NQContextMenu;
    map->Update(kDt);
    ASSERT_NE(map->mContextMenu, nullptr);
    EXPECT_FLOAT_EQ(map->mContextMenu->mFadeTime, kDt);
    map->mScreenState = screen::kIngameMenu;
    map->Update(kDt);
    EXPECT_EQ(map->mContextMenu, nullptr);
}

TEST_F(FrameUpdateTest, TheBonusesAndSlowsAreClearedEveryFrame)
{
    NQEnemy* tank = Enemies().at(0);
    tank->mSlow = 0.7f;
    map->Update(kDt);
    EXPECT_EQ(tank->mSlow, 0.0f);
}

TEST_F(FrameUpdateTest, ADropLyingFiveSecondsIsCollectedAndSaved)
{
    auto* gem = new NQTowerSpecial;
    gem->mState = NQTowerSpecial::kLying;
    gem->mProgress = 4.9f;
    map->mDrops->push_back(gem);
    const int gems = Economy().mGems;
    map->mSpeed = 1.0f;
    map->Update(kDt);
    // 4.9 + 0.1 × 1.5 passes 5 seconds of the drop's own time.
    EXPECT_EQ(Economy().mGems, gems + 1);
    EXPECT_EQ(Economy().mGemsGained, 1);
    EXPECT_NE(profiles->FileText().find("amount=\"" + std::to_string(gems + 1) + "\""), std::string::npos);
}

TEST_F(FrameUpdateTest, ComboIsPaidAfterOneSecondOfRealTimeEvenWhenPaused)
{
    for (float speed : {2.0f, 0.0f})
    {
        SCOPED_TRACE(speed);
        Economy().mComboCount = 3;
        Economy().mTimeSinceLastKill = 0.0f;
        const int gold = Economy().mGold;
        map->mSpeed = speed;
        for (int i = 0; i < 9; ++i)
            map->Update(kDt);
        EXPECT_EQ(Economy().mComboCount, 3);
        map->Update(kDt);
        map->Update(kDt);
        EXPECT_EQ(Economy().mComboCount, 0);
        EXPECT_EQ(Economy().mGold, gold + 4);
    }
}

TEST_F(FrameUpdateTest, TimedAnchors)
{
    map->mSpeed = 1.0f;
    math::Random(7);
    NQFxAnchor* looping = AddAnchor("mg_00", true, 0.25f, 60.0f);
    NQFxAnchor* repeating = AddAnchor("blow_bub", false, 0.25f, 40.0f);
    repeating->mNextDelay = 25.0f;
    NQFxAnchor* silent = AddAnchor("", false, 0.05f, 30.0f);
    NQFxAnchor* unknown = AddAnchor("no_such_effect", true, 0.05f, 30.0f);
    effects.clear();
    map->Update(kDt);
    // The empty name only marks its anchor started.
    EXPECT_TRUE(silent->mStarted);
    ASSERT_TRUE(unknown->mStarted);
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].name, "no_such_effect");
    const size_t withUnknown = map->mEffects.size();
    map->Update(kDt);
    // The emitter-less effect went in the next frame.
    EXPECT_EQ(map->mEffects.size(), withUnknown - 1);
    map->Update(kDt);
    EXPECT_TRUE(looping->mStarted);
    EXPECT_TRUE(repeating->mStarted);
    ASSERT_EQ(effects.size(), 3u);
    EXPECT_EQ(effects[1].list, "anchor");
    EXPECT_EQ(effects[1].x, 100.0f);
    EXPECT_EQ(effects[1].y, 200.0f);
    const float pause = repeating->mNextDelay;
    auto count = [&](const char* name) {
        int n = 0;
        for (const auto& e : effects)
            n += e.name == name ? 1 : 0;
        return n;
    };
    int frames = 0;
    while (count("blow_bub") < 2 && frames < 1000)
    {
        map->Update(kDt);
        ++frames;
    }
    EXPECT_EQ(count("blow_bub"), 2);
    EXPECT_NEAR(float(frames) * kDt, pause, 2.0f * kDt);
    // The next pause lies between 20 s and the longest one.
    EXPECT_GE(repeating->mNextDelay, 20.0f);
    EXPECT_LE(repeating->mNextDelay, 40.0f);
    // The looping anchor fired once.
    EXPECT_EQ(count("mg_00"), 1);
}

TEST_F(FrameUpdateTest, ButtonEmitterIsRestartedWhenItStops)
{
    ASSERT_NE(map->mButtonEmitter, nullptr);
    map->mButtonEmitter->SetState(0);
    map->Update(kDt);
    EXPECT_EQ(map->mButtonEmitter->mState, 1);
}
} // namespace
