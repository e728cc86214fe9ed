// The level object built without a game: construction, speed buttons, level
// start and reset, wave hints and teardown.
#include "LevelFixture.h"
#include "RecordingWindow.h"

#include "Core/Purchase/PurchaseResult.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUDIngameMenu.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/NQPlayerVolumes.h"
#include "Game/Roads/NQPoint.h"
#include "Psd/PsdInternal.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
using gametest::CallsStarting;
using gametest::CountCalls;
using gametest::LevelTest;
using gametest::RecordingWindow;

const std::array<const wchar_t*, 7> kSpeedButtons = {L"play_btn_ac", L"play_btn",     L"speed_btn_ac",
                                                       L"speed_btn",   L"options_btn_ac", L"pause_btn_ac",
                                                       L"pause_btn"};

std::array<float, 2> CentreOf(const wchar_t* name)
{
    for (const auto& place : gametest::RecordingHud::Buttons())
        if (std::wstring(place.name) == name)
            return {place.rect[0] + place.rect[2] * 0.5f, place.rect[1] + place.rect[3] * 0.5f};
    return {0.0f, 0.0f};
}

TEST_F(LevelTest, ANewProfileGivesTheStartingState)
{
    BuildLevel();
    EXPECT_EQ(map->mScreenState, screen::kNone);
    EXPECT_EQ(map->mSpeed, 1.0f);
    EXPECT_EQ(map->mMode, 0);
    EXPECT_EQ(map->mZoom, 1.0f);
    EXPECT_EQ(map->mViewOffsetX, 0.0f);
    EXPECT_EQ(map->mViewOffsetY, 0.0f);
    EXPECT_EQ(map->mTutorialSpotFilter, -1);
    EXPECT_FALSE(map->mDeveloperKeys);
    EXPECT_TRUE(map->mResourcesLoaded);
    EXPECT_EQ(map->mLanguage, L"en");
    // The constructor's speed-button update shows speed 1.
    for (const wchar_t* name : kSpeedButtons)
    {
        const bool lit = std::wstring(name) == L"play_btn_ac" || std::wstring(name) == L"pause_btn" ||
                         std::wstring(name) == L"speed_btn";
        EXPECT_EQ(Hud()->IsEnabled(name), lit) << gametest::Narrow(name);
    }
    // Every table and list exists although no data file does.
    EXPECT_NE(map->mEconomy, nullptr);
    EXPECT_NE(map->mProgress, nullptr);
    EXPECT_NE(map->mWaveManager, nullptr);
    EXPECT_NE(map->mWaveHints, nullptr);
    EXPECT_NE(map->mFloatingIcons, nullptr);
    EXPECT_NE(map->mUnlockTable, nullptr);
    EXPECT_NE(map->mUpgradeTable, nullptr);
    EXPECT_EQ(map->mSellFactor, 0.5f);
    ASSERT_NE(map->mSpellEmitter, nullptr);
    ASSERT_NE(map->mButtonEmitter, nullptr);
    EXPECT_EQ(map->mSpellEmitter->mState, 1);
    EXPECT_EQ(map->mButtonEmitter->GetPosition(), CentreOf(L"play_btn_ac"));
}

TEST_F(LevelTest, TheModeComesFromTheProfile)
{
    LoadProfiles(gametest::ProfilesXml(2, 0));
    BuildLevel();
    EXPECT_EQ(map->mMode, 2);
}

TEST_F(LevelTest, TheProgressRecordReadsTheLevelThroughItsServices)
{
    LoadProfiles(gametest::ProfilesXml(1, 0));
    BuildLevel();
    EXPECT_EQ(NQGameServices::Get()->GetMode(), 1);
    NQGameServices::Get()->SetMode(3);
    EXPECT_EQ(map->mMode, 3);
    NQGameServices::Get()->SetEconomyGems(44);
    EXPECT_EQ(map->mEconomy->mGems, 44);
    map->mDefaultGems = 9;
    EXPECT_EQ(NQGameServices::Get()->GetDefaultGems(), 9);
    map->mViewportWidth = 1366.0f;
    EXPECT_EQ(NQGameServices::Get()->GetViewRect().width, 1366.0f);
    auto* entry = new NQFrameEntry;
    NQGameServices::Get()->AppendDrawFrame(entry);
    ASSERT_EQ(map->mDrawQueues[0].size(), 1u);
    EXPECT_EQ(map->mDrawQueues[0][0], entry); // the level deletes it
    DestroyLevel();
    EXPECT_NE(NQGameServices::Get()->GetDefaultGems(), 9) << "the level's services left with it";
}

struct SpeedCase
{
    float speed;
    const wchar_t* lit; // the twin whose centre the glow takes; null: (0, 0)
    std::array<bool, 7> enabled;
};

TEST_F(LevelTest, SpeedButtonsFollowTheSpeed)
{
    const SpeedCase cases[] = {
        {0.0f, L"pause_btn_ac", {false, true, false, true, false, true, false}},
        {1.0f, L"play_btn_ac", {true, false, false, true, false, false, true}},
        {2.0f, L"speed_btn_ac", {false, true, true, false, false, false, true}},
        {0.5f, nullptr, {false, true, false, true, false, false, true}},
    };
    BuildLevel();
    for (const SpeedCase& c : cases)
    {
        map->mSpeed = c.speed;
        map->UpdateSpeedButtons();
        for (size_t i = 0; i < kSpeedButtons.size(); ++i)
            EXPECT_EQ(Hud()->IsEnabled(kSpeedButtons[i]), c.enabled[i])
                << "speed " << c.speed << " " << gametest::Narrow(kSpeedButtons[i]);
        const std::array<float, 2> glow = c.lit ? CentreOf(c.lit) : std::array<float, 2>{0.0f, 0.0f};
        EXPECT_EQ(map->mButtonEmitter->GetPosition(), glow) << "speed " << c.speed;
    }
}

class LevelWithoutButtonsTest : public LevelTest
{
protected:
    void SetUp() override
    {
        hudWithButtons = false;
        LevelTest::SetUp();
    }
};

TEST_F(LevelWithoutButtonsTest, AHudWithoutSpeedButtonsIsSkipped)
{
    BuildLevel();
    for (float speed : {0.0f, 1.0f, 2.0f})
    {
        map->mSpeed = speed;
        map->UpdateSpeedButtons();
        EXPECT_EQ(map->mButtonEmitter->GetPosition(), (std::array<float, 2>{0.0f, 0.0f}));
    }
}

TEST_F(LevelTest, PausingWhilePlayingOpensTheIngameMenu)
{
    BuildLevel();
    map->mScreenState = screen::kPlaying;
    gametest::CallLog().clear();
    map->PauseIfPlaying();
    EXPECT_EQ(map->mSpeed, 0.0f);
    EXPECT_TRUE(Hud()->IsEnabled(L"pause_btn_ac"));
    EXPECT_FALSE(Hud()->IsEnabled(L"play_btn_ac"));
    EXPECT_EQ(map->mScreenState, screen::kIngameMenu);
    EXPECT_EQ(CountCalls("Tutorial.Hide"), 1);
    ASSERT_EQ(Hud()->mPendingWindows.size(), 1u);
    EXPECT_NE(dynamic_cast<HUDIngameMenu*>(Hud()->mPendingWindows[0]), nullptr);
    // The menu is pushed after the state is set and the tutorial hidden.
    const auto pushes = CallsStarting("HUD.PushWindow");
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_EQ(pushes[0].state, screen::kIngameMenu);
    EXPECT_EQ(pushes[0].speed, 0.0f);
}

TEST_F(LevelTest, PausingOnAMenuScreenDoesNothing)
{
    BuildLevel();
    map->mScreenState = screen::kMainMenu;
    gametest::CallLog().clear();
    map->PauseIfPlaying();
    EXPECT_EQ(map->mSpeed, 1.0f);
    EXPECT_EQ(map->mScreenState, screen::kMainMenu);
    EXPECT_TRUE(gametest::CallLog().empty());
    EXPECT_TRUE(Hud()->mPendingWindows.empty());
}

struct StartCase
{
    int mode;
    int episode;
    int level;
    const wchar_t* path;
    const wchar_t* event;
    const wchar_t* music;
};

TEST_F(LevelTest, StartingALevelNamesItsFileEventAndMusic)
{
    const StartCase cases[] = {
        {1, 0, 4, L"nq/levels_normal/level_01_05.xml", L"level_1_5_start", L"nq/data/music/ingame1.ogg"},
        {3, 0, 9, L"nq/levels_hardcore/level_01_10.xml", L"level_1_10_start", L"nq/data/music/ingame1.ogg"},
        {0, 6, 0, L"nq/levels_normal/level_07_01.xml", L"level_7_1_start", L"nq/data/music/ingame7.ogg"},
        {2, 7, 0, L"nq/levels_normal/level_08_01.xml", L"level_8_1_start", L"nq/data/music/ingame1.ogg"},
        {2, 1, 11, L"nq/levels_normal/level_02_12.xml", L"level_2_12_start", L"nq/data/music/ingame2.ogg"},
    };
    BuildLevel();
    for (const StartCase& c : cases)
    {
        map->mMode = c.mode;
        map->mEpisode = c.episode;
        map->mLevel = c.level;
        map->StartLevel();
        EXPECT_EQ(map->mLevelPath, c.path);
        ASSERT_FALSE(tutorial->events.empty());
        EXPECT_EQ(tutorial->events.back(), c.event);
        ASSERT_FALSE(sounds->music.empty());
        EXPECT_EQ(sounds->music.back(), c.music);
    }
}

TEST_F(LevelTest, AResetOnAMissingLevelFileEndsPlaying)
{
    LoadProfiles(gametest::ProfilesXml(1, 12));
    BuildLevel();
    map->mEconomy->AddGems(map->mProgress->GetGems());
    map->mEconomy->mGold = 300;
    map->mEconomy->mKillScore = 40;
    map->mDropChanceOverride = 0.7f;
    map->mPendingBuild.price = 50;
    map->mPendingBuild.proto = reinterpret_cast<NQUnitProto*>(0x10);
    map->mPendingUpgrade.tower = reinterpret_cast<NQTower*>(0x20);
    map->mPendingUpgrade.price = 70;
    Hud()->PushWindow(new RecordingWindow("a"));
    Hud()->PushWindow(new RecordingWindow("b"));
    Hud()->Update(0.0f);
    auto* pending = new RecordingWindow("pending");
    Hud()->PushWindow(pending);
    gametest::CallLog().clear();

    map->ResetLevel();

    // Both open windows went while the level was restarting and paused.
    for (const char* closed : {"Window.b.~Window", "Window.a.~Window"})
    {
        const auto calls = CallsStarting(closed);
        ASSERT_EQ(calls.size(), 1u) << closed;
        EXPECT_EQ(calls[0].state, screen::kRestarting);
        EXPECT_EQ(calls[0].speed, 0.0f);
    }
    EXPECT_TRUE(Hud()->mWindows.empty());
    ASSERT_EQ(Hud()->mPendingWindows.size(), 1u);
    EXPECT_EQ(Hud()->mPendingWindows[0], pending);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    EXPECT_EQ(map->mSpeed, 1.0f);
    EXPECT_TRUE(Hud()->IsEnabled(L"play_btn_ac"));
    EXPECT_EQ(map->mEconomy->mGems, 12);
    EXPECT_EQ(map->mEconomy->mGold, 0);
    EXPECT_EQ(map->mEconomy->mKillScore, 0);
    EXPECT_EQ(map->mLives, 25.0f);
    EXPECT_EQ(map->mMaxLives, 25.0f);
    EXPECT_EQ(map->mPendingBuild.proto, nullptr);
    EXPECT_EQ(map->mPendingBuild.price, 0);
    EXPECT_EQ(map->mPendingUpgrade.tower, nullptr);
    EXPECT_EQ(map->mPendingUpgrade.price, 0);
    EXPECT_EQ(map->mDropChanceOverride, 0.0f);
    EXPECT_EQ(CountCalls("HUD.ResetSpellCooldowns"), 1);
    EXPECT_EQ(CountCalls("Tutorial.ResetUnfinishedSteps"), 1);
    // The four counters are refreshed last, in play.
    const std::vector<std::string> expectedTail = {"HUD.UpdateWavesText", "HUD.UpdateGemsText",
                                                   "HUD.UpdateGoldText", "HUD.UpdateLivesText"};
    const auto& log = gametest::CallLog();
    ASSERT_GE(log.size(), expectedTail.size());
    for (size_t i = 0; i < expectedTail.size(); ++i)
    {
        const gametest::LoggedCall& call = log[log.size() - expectedTail.size() + i];
        EXPECT_EQ(call.call, expectedTail[i]);
        EXPECT_EQ(call.state, screen::kPlaying);
    }
}

TEST_F(LevelTest, HardcoreGivesOneLife)
{
    LoadProfiles(gametest::ProfilesXml(3, 0));
    BuildLevel();
    map->mEpisode = 1; // no announcement there
    map->ResetLevel();
    EXPECT_EQ(map->mLives, 1.0f);
    EXPECT_EQ(map->mMaxLives, 1.0f);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
}

TEST_F(LevelTest, StartingSetsTheDropChanceOverrideFromTheProfile)
{
    BuildLevel();
    map->mProgress->SetTutorialParam(L"dropChanceOverride", 1);
    map->StartLevel();
    EXPECT_EQ(map->mDropChanceOverride, 1.0f);
    map->ResetLevel();
    EXPECT_EQ(map->mDropChanceOverride, 0.0f);
}

// Decoder blocks kept from the level's pictures go back once it has loaded.
TEST_F(LevelTest, AStartedLevelGivesTheDecoderBlocksBack)
{
    constexpr size_t kBlock = size_t(4) << 20;
    BuildLevel();
    psdr_mem_free(psdr_mem_alloc_unset(kBlock));
    ASSERT_GE(psdr_cache_current().bytes, kBlock);
    map->StartLevel();
    EXPECT_EQ(psdr_cache_current().bytes, 0u);
    EXPECT_EQ(psdr_cache_current().blocks, 0);
}

TEST_F(LevelTest, TheFirstHardcoreLevelAnnouncesItsUnlocks)
{
    LoadProfiles(gametest::ProfilesXml(3, 0));
    BuildLevel();
    map->StartLevel();
    EXPECT_EQ(Hud()->lastUnlocks, (std::vector<int32_t>{36, 37, 38}));
    EXPECT_EQ(map->mScreenState, screen::kUnlockMessage);
    EXPECT_EQ(map->mSpeed, 0.0f);
}

TEST_F(LevelTest, EachUnlockIsAnnouncedOncePerProfile)
{
    // 37 was announced by an earlier play; a save without the list has announced nothing.
    LoadProfiles(gametest::ProfilesXml(3, 0, "<announced><unlock id=\"37\"/></announced>"));
    BuildLevel();
    map->StartLevel();
    EXPECT_EQ(Hud()->lastUnlocks, (std::vector<int32_t>{36, 38}));
    for (int32_t id : {36, 37, 38})
        EXPECT_TRUE(map->mProgress->IsUnlockAnnounced(id)) << id;
    EXPECT_FALSE(map->mProgress->IsUnlockAnnounced(12));

    // The replay goes on as after the message: playing, and the tutorial hears the intro's end.
    Hud()->lastUnlocks.clear();
    const int messages = gametest::CountCalls("HUD.ShowUnlockMessage");
    const int closes = gametest::CountCalls("Tutorial.OnEvent unlock_window_close");
    map->StartLevel();
    EXPECT_EQ(gametest::CountCalls("HUD.ShowUnlockMessage"), messages);
    EXPECT_EQ(gametest::CountCalls("Tutorial.OnEvent unlock_window_close"), closes + 1);
    EXPECT_EQ(map->mScreenState, screen::kPlaying);
    EXPECT_EQ(map->mSpeed, 1.0f);

    // Another player has seen none of it.
    map->mProgress->SwitchProfile(L"Other");
    map->mMode = 3;
    map->StartLevel();
    EXPECT_EQ(Hud()->lastUnlocks, (std::vector<int32_t>{36, 37, 38}));
}

TEST_F(LevelTest, TheVolumesComeFromTheRunningLevelsRecord)
{
    NQPlayerVolumes volumes;
    EXPECT_EQ(volumes.GetSoundVolume(), 1.0f);
    EXPECT_EQ(volumes.GetMusicVolume(), 1.0f);
    BuildLevel();
    map->mProgress->SetSoundVolume(0.25f);
    map->mProgress->SetMusicVolume(0.5f);
    EXPECT_EQ(volumes.GetSoundVolume(), 0.25f);
    EXPECT_EQ(volumes.GetMusicVolume(), 0.5f);
    DestroyLevel();
    EXPECT_EQ(volumes.GetSoundVolume(), 1.0f);
}

class WaveHintTest : public LevelTest
{
protected:
    void SetUp() override
    {
        LevelTest::SetUp();
        data->WriteLayeredImage("nq/data/ui_parts", {{"ui/wave_hint", 0, 0, 40, 30, 0xFF00FF00u}});
        BuildLevel();
    }

    NQWaveHintStrip& Strip() { return *map->mWaveHints; }

    void Add(float x, float y)
    {
        NQPoint point;
        point.mX = x;
        point.mY = y;
        Strip().AddHint(point);
    }
};

TEST_F(WaveHintTest, HintsAreKeptInsideThePlayArea)
{
    ASSERT_NE(Strip().mPicture, nullptr);
    struct Case
    {
        float x, y, ex, ey;
    };
    const Case cases[] = {
        {1010, 40, 984, 100}, {500, 700, 500, 638}, {-5, 300, 0, 300}, {2000, 2000, 984, 638}, {10.9f, 400.7f, 10, 400},
    };
    for (const Case& c : cases)
    {
        Strip().Clear();
        Add(c.x, c.y);
        ASSERT_EQ(Strip().mHints.size(), 1u);
        const NQFrameEntry* hint = Strip().mHints[0];
        EXPECT_EQ(hint->mRect[0], c.ex) << c.x << "," << c.y;
        EXPECT_EQ(hint->mRect[1], c.ey) << c.x << "," << c.y;
        EXPECT_EQ(hint->mRect[2], 40.0f);
        EXPECT_EQ(hint->mRect[3], 30.0f);
        EXPECT_EQ(hint->mPicture, Strip().mPicture);
    }
}

TEST_F(WaveHintTest, HitTestIsStrictlyInside)
{
    EXPECT_FALSE(Strip().HitTest(510, 310)) << "no hints";
    Add(500, 300); // (500, 300, 40, 30)
    EXPECT_TRUE(Strip().HitTest(501, 301));
    EXPECT_TRUE(Strip().HitTest(539, 329));
    EXPECT_FALSE(Strip().HitTest(500, 310)) << "left edge";
    EXPECT_FALSE(Strip().HitTest(510, 300)) << "top edge";
    EXPECT_FALSE(Strip().HitTest(540, 310)) << "right edge";
    EXPECT_FALSE(Strip().HitTest(510, 330)) << "bottom edge";
    Strip().Clear();
    EXPECT_TRUE(Strip().mHints.empty());
    EXPECT_FALSE(Strip().HitTest(510, 310));
}

TEST_F(LevelTest, AMissingHintPictureGivesAnEmptyFrame)
{
    BuildLevel();
    ASSERT_EQ(map->mWaveHints->mPicture, nullptr);
    NQPoint point;
    point.mX = 1010.0f;
    point.mY = 40.0f;
    map->mWaveHints->AddHint(point);
    ASSERT_EQ(map->mWaveHints->mHints.size(), 1u);
    const float* r = map->mWaveHints->mHints[0]->mRect;
    EXPECT_EQ(r[0], 1010.0f);
    EXPECT_EQ(r[1], 100.0f);
    EXPECT_EQ(r[2], 0.0f);
    EXPECT_EQ(r[3], 0.0f);
    EXPECT_FALSE(map->mWaveHints->HitTest(1010, 100));
}

TEST_F(LevelTest, TeardownLeavesNoListenerAndClearsTheTutorialHints)
{
    BuildLevel();
    map->StartLevel();
    map->StartLevel();
    const void* key = map;
    ASSERT_TRUE(purchase::GetListenerTable()[key]);
    gametest::CallLog().clear();
    DestroyLevel();
    EXPECT_EQ(CountCalls("Tutorial.ClearHints"), 1);
    EXPECT_FALSE(purchase::GetListenerTable()[key]);
    // Nothing left to call: a use after free would show under the sanitizer.
    TPurchaseResult result;
    result.type = 0;
    purchase::PurchaseSystem::Broadcast(result);
}

class LevelWithoutTutorialTest : public LevelTest
{
protected:
    void SetUp() override
    {
        withTutorial = false;
        LevelTest::SetUp();
    }
};

TEST_F(LevelWithoutTutorialTest, TeardownDoesNotCreateTheTutorial)
{
    BuildLevel();
    ASSERT_EQ(NQTutorial::Find(), nullptr);
    DestroyLevel();
    EXPECT_EQ(NQTutorial::Find(), nullptr);
}
} // namespace
