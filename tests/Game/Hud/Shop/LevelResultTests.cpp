// The level result window: stars, gems, the episode bonus, the stored result
// and the count-up.
#include "ShopFixture.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEffect.h"

#include <gtest/gtest.h>

#include <memory>

namespace gametest
{
namespace
{
constexpr int kEpisode = 1;
constexpr int kLevel = 2;
constexpr int kNormal = 1;
constexpr int kHardcore = 3;

class LevelResultTest : public ShopTest
{
protected:
    void SetUp() override
    {
        ShopTest::SetUp();
        map = Map();
        map->mEpisode = kEpisode;
        map->mLevel = kLevel;
        map->mMode = kNormal;
        map->mScreenState = screen::kWon;
        map->mEconomy->mKillScore = 0;
        map->mEconomy->mComboBonus = 0;
        // The episode bonus is already paid unless a test clears it.
        map->mProgress->SetEventFlag(kEpisode + 1);
        SetGems(0);
    }

    void Store(int level, int mode, int stars, int kills)
    {
        NQLevelRecord record;
        record.stars = stars;
        record.kills = kills;
        map->mProgress->StoreLevelResult(kEpisode, level, mode, record);
    }

    NQLevelRecord Stored(int level, int mode) const
    {
        std::unique_ptr<NQLevelRecord> record(map->mProgress->GetLevelRecord(kEpisode, level, mode));
        return *record;
    }

    static bool StarShown(const HUDWindow& window, int i)
    {
        for (const NQFrameEntry* image : window.mImages)
            if (image->mName == L"star" + std::to_wstring(i))
                return image->mShown != 0;
        return false;
    }

    // One frame as the HUD runs it: the update, then the draw.
    void Frame(HUDLevelResultWindow& window, float dt = 0.05f)
    {
        window.Update(dt);
        Record([&](render::Graphics* g) { window.Draw(g); });
    }

    NQMap* map = nullptr;
};

TEST_F(LevelResultTest, StarsGemsAndStoredResultTable)
{
    struct Case
    {
        const char* what;
        float lives, maxLives;
        int mode;
        int storedStars, storedHigh;
        NQScreenState state;
        int kills;
        int stars, gems, starsAfter, highAfter;
    };
    const Case cases[] = {
        {"first clear", 25, 25, kNormal, 0, 0, screen::kWon, 40, 3, 13, 3, 2540},
        {"repeat clear", 25, 25, kNormal, 3, 2540, screen::kWon, 40, 3, 0, 3, 2540},
        {"fewer stars", 20, 25, kNormal, 3, 9000, screen::kWon, 40, 2, 0, 3, 9000},
        {"2 after 1", 15, 25, kNormal, 1, 0, screen::kWon, 0, 2, 5, 2, 1500},
        {"below half", 10, 25, kNormal, 0, 0, screen::kWon, 0, 1, 3, 1, 1000},
        {"hardcore", 1, 1, kHardcore, 0, 0, screen::kWon, 5, 3, 13, 3, 105},
        {"lost", 0, 25, kNormal, 2, 30, screen::kLost, 70, 0, 0, 2, 70},
        {"above the maximum", 30, 25, kNormal, 0, 0, screen::kWon, 0, 3, 13, 3, 3000},
        {"no maximum", 0, 0, kNormal, 0, 0, screen::kWon, 0, 0, 0, 0, 0},
        {"lost with lives left", 20, 25, kNormal, 0, 0, screen::kLost, 0, 2, 8, 0, 2000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        map->mMode = c.mode;
        map->mProgress->ResetCurrentProfile();
        map->mProgress->SetEventFlag(kEpisode + 1);
        Store(kLevel, c.mode, c.storedStars, c.storedHigh);
        SetGems(7);
        map->mLives = c.lives;
        map->mMaxLives = c.maxLives;
        map->mScreenState = c.state;
        map->mEconomy->mKillScore = c.kills;

        HUDLevelResultWindow window;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(StarShown(window, i), i < c.stars) << i;
        EXPECT_EQ(map->mEconomy->mGems, 7 + c.gems);
        EXPECT_EQ(StoredGems(), 7 + c.gems);
        EXPECT_EQ(TextOf(window, L"gems"), L"Gems: " + std::to_wstring(c.gems));
        const NQLevelRecord after = Stored(kLevel, c.mode);
        EXPECT_EQ(after.stars, c.starsAfter);
        EXPECT_EQ(after.high, c.highAfter);
        EXPECT_EQ(after.gems, 0);
        EXPECT_EQ(TextOf(window, L"bestScore"), L"Best:" + std::to_wstring(c.highAfter));
        // The window pops in from nothing.
        EXPECT_EQ(window.mScale, 0.0f);
        EXPECT_EQ(window.mState, HUDLevelResultWindow::kPopIn);
    }
}

TEST_F(LevelResultTest, EpisodeBonusIsPaidOnceAndOneWindowLate)
{
    map->mProgress->ResetCurrentProfile();
    map->mEpisodeSetup[kEpisode].levels = 3;
    // Flag 2 not yet set: a fresh profile.
    map->mProgress->ResetCurrentProfile();
    ASSERT_FALSE(map->mProgress->GetEventFlag(kEpisode + 1));
    Store(0, kNormal, 1, 0);
    Store(1, kNormal, 2, 0);
    // Hard-mode stars do not count.
    Store(2, 2, 3, 0);
    map->mMaxLives = 10;
    map->mLives = 10;
    map->mLevel = 2;
    SetGems(0);

    // The level just finished still counts with its old (no) stars.
    {
        HUDLevelResultWindow window;
        EXPECT_EQ(map->mEconomy->mGems, 13);
        EXPECT_FALSE(map->mProgress->GetEventFlag(kEpisode + 1));
    }
    // The next window of the episode, even a loss, pays it.
    map->mLevel = 0;
    map->mLives = 0;
    map->mScreenState = screen::kLost;
    {
        HUDLevelResultWindow window;
        EXPECT_EQ(map->mEconomy->mGems, 113);
        EXPECT_EQ(TextOf(window, L"gems"), L"Gems: 100");
        EXPECT_TRUE(map->mProgress->GetEventFlag(kEpisode + 1));
    }
    // Never twice.
    {
        HUDLevelResultWindow window;
        EXPECT_EQ(map->mEconomy->mGems, 113);
    }
    EXPECT_EQ(StoredGems(), 113);
}

TEST_F(LevelResultTest, EveryEpisodeHasItsOwnFlagAndAMissingEpisodePaysNothing)
{
    map->mProgress->ResetCurrentProfile();
    map->mMaxLives = 10;
    map->mLives = 0;
    map->mScreenState = screen::kLost;
    constexpr int kLateEpisode = 7;
    map->mEpisode = kLateEpisode;
    map->mEpisodeSetup[kLateEpisode].levels = 1;
    NQLevelRecord starred;
    starred.stars = 1;
    map->mProgress->StoreLevelResult(kLateEpisode, 0, kNormal, starred);
    SetGems(0);
    {
        HUDLevelResultWindow window;
    }
    EXPECT_EQ(map->mEconomy->mGems, 100);
    EXPECT_TRUE(map->mProgress->GetEventFlag(kLateEpisode + 1));

    // Not in the setup sheet: its level count never matches.
    map->mEpisode = 9;
    map->mProgress->StoreLevelResult(9, 0, kNormal, starred);
    {
        HUDLevelResultWindow window;
    }
    EXPECT_EQ(map->mEconomy->mGems, 100);
    EXPECT_FALSE(map->mProgress->GetEventFlag(10));
}

TEST_F(LevelResultTest, TheWindowLetsTheLevelEffectsPlayToTheirEnd)
{
    auto* anchor = new NQEffect("active");
    auto* front = new NQEffect("active_btn");
    map->mDepthEffects.push_back(anchor);
    map->mEffects.push_back(front);
    ASSERT_NE(anchor->mEmitter, nullptr);
    ASSERT_NE(front->mEmitter, nullptr);
    map->mMaxLives = 1;
    HUDLevelResultWindow window;
    EXPECT_EQ(anchor->mEmitter->mState, 2);
    EXPECT_EQ(front->mEmitter->mState, 2);
}

TEST_F(LevelResultTest, CountUpReachesEachFinalValueInTheFrameItsLineEnds)
{
    map->mMaxLives = 1.0f;
    map->mLives = 0.29f;
    map->mEconomy->mKillScore = 57;
    HUDLevelResultWindow window;
    EXPECT_EQ(HUDLevelResultWindow::LifeBonus(0.29f), 28);

    // Pop-in: six frames of 0.05 s pass 0.25 s.
    int frames = 0;
    while (window.mState == HUDLevelResultWindow::kPopIn && frames < 100)
    {
        Frame(window);
        ++frames;
    }
    EXPECT_EQ(frames, 6);
    EXPECT_EQ(window.mState, HUDLevelResultWindow::kKillScore);

    struct Line
    {
        const wchar_t* slot;
        const wchar_t* prefix;
        int finalValue;
        int phaseAfter;
    };
    const Line lines[] = {
        {L"killScore", L"Kills:", 57, HUDLevelResultWindow::kLifeBonus},
        {L"lifeBonus", L"Lives:", 28, HUDLevelResultWindow::kTotalScore},
        {L"totalScore", L"Total:", 85, HUDLevelResultWindow::kFinished},
    };
    for (const Line& line : lines)
    {
        SCOPED_TRACE(testing::Message() << std::string(line.slot, line.slot + wcslen(line.slot)));
        const int phase = window.mState;
        std::wstring last;
        int guard = 0;
        while (window.mState == phase && guard++ < 100)
        {
            last = TextOf(window, line.slot);
            Frame(window);
        }
        // The frame that ended the line wrote the final value.
        EXPECT_EQ(TextOf(window, line.slot), line.prefix + std::to_wstring(line.finalValue));
        EXPECT_NE(last, TextOf(window, line.slot));
        EXPECT_EQ(window.mState, line.phaseAfter);
    }
    EXPECT_EQ(TextOf(window, L"goldBonus"), L"<unset>");
    EXPECT_EQ(window.mScale, 1.0f);

    // Finished: nothing changes any more.
    const auto texts = window.mTexts;
    for (int i = 0; i < 30; ++i)
        Frame(window);
    EXPECT_EQ(window.mTexts, texts);
    EXPECT_EQ(window.mState, HUDLevelResultWindow::kFinished);
}

TEST_F(LevelResultTest, WithoutKillsTheKillLineIsSkippedAndTheComboSlotEmptied)
{
    map->mMaxLives = 1.0f;
    map->mLives = 1.0f;
    HUDLevelResultWindow window;
    window.SetText(L"goldBonus", L"set by the level end");
    while (window.mState == HUDLevelResultWindow::kPopIn)
        Frame(window);
    ASSERT_EQ(window.mState, HUDLevelResultWindow::kKillScore);
    // Phase 1 is left at the next update, then phase 2 at once without a combo.
    window.Update(0.05f);
    EXPECT_EQ(window.mState, HUDLevelResultWindow::kComboBonus);
    Record([&](render::Graphics* g) { window.Draw(g); });
    EXPECT_EQ(TextOf(window, L"goldBonus"), L"");
    window.Update(0.05f);
    EXPECT_EQ(window.mState, HUDLevelResultWindow::kLifeBonus);
    // Only the draw of the frame that entered phase 1 wrote the line.
    EXPECT_EQ(TextOf(window, L"killScore"), L"Kills:0");
}

TEST_F(LevelResultTest, ThePopInFadesWithTwiceThePhaseClock)
{
    map->mMaxLives = 1.0f;
    HUDLevelResultWindow window;
    window.Update(0.1f);
    EXPECT_FLOAT_EQ(window.mScale, 0.4f);
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { window.Draw(g); });
    ASSERT_FALSE(quads.empty());
    EXPECT_NEAR(quads.front().color[3], 0.2f, 1e-3f);
}
} // namespace
} // namespace gametest
