// The end of a won level: the drops banked, the music, the sound and the
// result window's texts, and the heading a lost level shares with it.
#include "Game/Level/Input/InputFixture.h"

#include "CallLog.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQTowerSpecial.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <string>

namespace
{
using gametest::InputTest;

class LevelEndTest : public InputTest
{
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        const std::string extra = "game_win;Victory\nepisode0;Meadow\nepisode1;Forest\n"
                                  "episodeHardcore0;Dark Meadow\nepisodeHardcore1;Dark Forest\n";
        data->Write("nq/strings_extra.csv", extra);
        LocalStrings::Instance()->Load(L"nq/strings_extra.csv");
    }

    // A level already cleared with three stars: the result window pays no star gems.
    void StoreThreeStars() const
    {
        NQLevelRecord record;
        record.stars = 3;
        map->mProgress->StoreLevelResult(map->mEpisode, map->mLevel, map->mMode, record);
    }
};

TEST_F(LevelEndTest, WinTexts)
{
    struct Case
    {
        int mode;
        int episode;
        int level;
        const wchar_t* levelName;
        const wchar_t* gameName;
    };
    const Case cases[] = {
        {1, 1, 2, L"Forest 2 - 3", L"Normal"},
        {0, 0, 0, L"Meadow 1 - 1", L"Easy"},
        {2, 1, 9, L"Forest 2 - 10", L"Hard"},
        {3, 1, 2, L"Dark Forest 2 - 3", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.mode);
        map->mMode = c.mode;
        map->mEpisode = c.episode;
        map->mLevel = c.level;
        Economy().mGemsGained = 5;
        StoreThreeStars();
        map->Win();
        HUDLevelResultWindow* window = PushedResultWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Text(*window, L"levelResult"), L"Victory");
        EXPECT_EQ(Text(*window, L"levelName"), c.levelName);
        EXPECT_EQ(Text(*window, L"gameName"), c.gameName);
        EXPECT_EQ(Text(*window, L"killScore"), L"Kills:0");
        EXPECT_EQ(Text(*window, L"goldBonus"), L"");
        EXPECT_EQ(Text(*window, L"lifeBonus"), L"Lives:0");
        EXPECT_EQ(Text(*window, L"totalScore"), L"Total:0");
        EXPECT_EQ(Text(*window, L"gems"), L"Gems: 5");
    }
}

TEST_F(LevelEndTest, ADefeatNamesTheLevelAsAVictoryDoes)
{
    struct Case
    {
        int mode;
        const wchar_t* levelName;
    };
    for (const Case& c : {Case{1, L"Forest 2 - 3"}, Case{3, L"Dark Forest 2 - 3"}})
    {
        SCOPED_TRACE(c.mode);
        map->mMode = c.mode;
        map->mEpisode = 1;
        map->mLevel = 2;
        map->mLives = 0.0f;
        map->Lose();
        HUDLevelResultWindow* window = PushedResultWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Text(*window, L"levelName"), c.levelName);
    }
}

TEST_F(LevelEndTest, WinBanksTheLyingGemsAndStopsTheBattle)
{
    for (int state : {NQTowerSpecial::kLying, NQTowerSpecial::kLying, NQTowerSpecial::kCollected,
                      NQTowerSpecial::kFlyingOut})
        AddDrop(state);
    Economy().mGems = 4;
    Economy().mGemsGained = 0;
    map->mSpeed = 2.0f;
    StoreThreeStars();
    map->Win();
    EXPECT_EQ(Economy().mGems, 7);
    EXPECT_EQ(Economy().mGemsGained, 3);
    EXPECT_TRUE(map->mDrops->empty());
    EXPECT_NE(profiles->FileText().find("amount=\"7\""), std::string::npos);
    EXPECT_EQ(map->mSpeed, 0.0f);
    EXPECT_EQ(map->mPendingResult, 2);
    EXPECT_EQ(map->mScreenState, screen::kWon);
    EXPECT_TRUE(SoundSystem::Instance()->GetCurrentMusicName().empty());
    EXPECT_EQ(CountTag(L"winSound"), 1);
    HUDLevelResultWindow* window = PushedResultWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(*window, L"gems"), L"Gems: 3");
    for (const wchar_t* hidden : {L"back_lose", L"diffictly_lose", L"defeat_label", L"victory_label"})
        EXPECT_TRUE(std::find_if(window->mImages.begin(), window->mImages.end(), [&](const NQFrameEntry* f) {
                        return f->mName == hidden && f->mShown;
                    }) == window->mImages.end());
}

TEST_F(LevelEndTest, TheFrameUpdateStopsAfterTheWin)
{
    map->Win();
    const float clock = Waves().mClock;
    map->mSpeed = 1.0f;
    map->Update(0.1f);
    EXPECT_EQ(Waves().mClock, clock);
}
} // namespace
