// The level select: plates, badges, tabs and hardcore.
#include "MenuScreensFixture.h"
#include "QuadRecorder.h"

#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/ParticlesLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDTab.h"
#include "Game/Hud/HUDTabStrip.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
class LevelSelectTest : public MenuScreensTest
{
protected:
    HUDLevelSelect* Open(int episode = 0, int mode = 1)
    {
        Map()->mEpisode = episode;
        Map()->mMode = mode;
        Hud()->ShowLevelSelect();
        Step();
        screen = TopAs<HUDLevelSelect>();
        return screen;
    }
    HUDLevelPlate* Plate(int level) { return screen->mPlates.at(size_t(level)); }
    static int Stars(const HUDLevelPlate* plate)
    {
        int n = 0;
        for (const layer::ImageLayer* star : plate->mStarLayers)
            n += star ? 1 : 0;
        return n;
    }

    HUDLevelSelect* screen = nullptr;
};

TEST_F(LevelSelectTest, PlatesShowTheirStateStarsNumberAndEffect)
{
    SetStars(0, 0, 1, 3);
    SetStars(0, 1, 1, 2);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kLevelSelect);
    EXPECT_EQ(Map()->mCurrentMenu, L"levels");
    ASSERT_EQ(screen->mPlates.size(), 7u);
    struct Case
    {
        int level;
        const wchar_t* state;
        int stars;
        bool number;
        bool effect;
    };
    const Case cases[] = {
        {0, L"plate/super", 3, false, false},
        {1, L"plate/complete", 2, true, false},
        {2, L"plate/incomplete", 0, true, true},
        {3, L"plate/locked", 0, false, false},
    };
    for (const Case& c : cases)
    {
        const HUDLevelPlate* plate = Plate(c.level);
        EXPECT_EQ(plate->mStateName, c.state) << c.level;
        EXPECT_EQ(Stars(plate), c.stars) << c.level;
        EXPECT_EQ(plate->mNumber->mVisible, c.number) << c.level;
        EXPECT_EQ(plate->mParticles != nullptr, c.effect) << c.level;
        EXPECT_EQ(plate->mNumber->GetText(), std::to_wstring(c.level + 1));
    }
    // The next level's number is green.
    EXPECT_EQ(Plate(2)->mNumber->mColor.y, 1.0f);
    EXPECT_EQ(Plate(2)->mNumber->mColor.x, 0.0f);
    EXPECT_EQ(Plate(1)->mNumber->mColor.x, 1.0f);
    // Stars 32 apart, the plate centred on its rectangle.
    EXPECT_EQ(Plate(0)->mStarLayers[2]->mPosition.x, 64.0f);
    EXPECT_EQ(Plate(0)->mRoot->mPosition.x, 130.0f);
    EXPECT_EQ(Plate(0)->mRoot->mPosition.y, 270.0f);
}

TEST_F(LevelSelectTest, TheEighthPlateStartsTheSecondRowAndBordersMiss)
{
    Map()->mEpisodeSetup[0].levels = 9;
    ASSERT_NE(Open(), nullptr);
    const HUDLevelPlate* plate = Plate(7);
    EXPECT_EQ(plate->mRect[0], 80);
    EXPECT_EQ(plate->mRect[1], 345);
    EXPECT_EQ(screen->HitTest(81, 346), 7);
    EXPECT_EQ(screen->HitTest(80, 346), -1);
    EXPECT_EQ(screen->HitTest(81, 445), -1);
    // Locked plates answer too; the dispatcher refuses them.
    EXPECT_EQ(screen->HitTest(130 + 125 * 4, 270), 4);
}

TEST_F(LevelSelectTest, StarsBeyondThreeFromTheProfileAreCapped)
{
    SetStars(0, 0, 1, 7);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Plate(0)->mStars, 3);
    EXPECT_EQ(Stars(Plate(0)), 3);
    EXPECT_EQ(Plate(0)->mStateName, L"plate/super");
    Record([&](render::Graphics* g) { screen->Draw(g); });
}

TEST_F(LevelSelectTest, NewBadgesShowOnTheFirstOpeningOnly)
{
    SetProfiles({"Anna"}, "Anna");
    ASSERT_NE(Open(), nullptr);
    // Only open plates carry the badge: level 0 is the only open one.
    EXPECT_NE(Plate(0)->mBadge, nullptr);
    EXPECT_EQ(Plate(1)->mBadge, nullptr);
    EXPECT_NE(screen->mBadge, nullptr);
    EXPECT_EQ(Map()->mProgress->GetEpisodeVisited(0, 1), 7);
    Hud()->CloseTopWindow();

    // Saved: a reloaded profile remembers.
    Map()->mProgress->SelectProfile(L"Anna");
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Plate(0)->mBadge, nullptr);
    // The normal modes share their count; the hardcore levels are new.
    Hud()->CloseTopWindow();
    ASSERT_NE(Open(0, 2), nullptr);
    EXPECT_EQ(Plate(0)->mBadge, nullptr);
    while (Hud()->HasWindows())
        Hud()->CloseTopWindow();
    ASSERT_NE(Open(0, 3), nullptr);
    EXPECT_NE(Plate(0)->mBadge, nullptr);
}

TEST_F(LevelSelectTest, HardcoreButtonsFollowTheStars)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(screen->FindButton(L"locked_d")->mShown, 1);
    EXPECT_EQ(screen->FindButton(L"unlocked_d")->mShown, 0);
    EXPECT_EQ(screen->FindButton(L"locked_d")->mRect[0], 857.0f);
    EXPECT_EQ(screen->FindButton(L"locked_d")->mRect[1], 448.0f);
    EXPECT_EQ(screen->mBadge->mPosition.x, 907.0f);
    EXPECT_EQ(screen->mBadge->mPosition.y, 428.0f);
    EXPECT_EQ(screen->mBadge->GetParent(), Board()->GetRootLayer());
    Hud()->CloseTopWindow();

    for (int level = 0; level < 7; ++level)
        SetStars(0, level, 1, 9);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(screen->FindButton(L"locked_d")->mShown, 0);
    EXPECT_EQ(screen->FindButton(L"unlocked_d")->mShown, 1);
    Hud()->CloseTopWindow();

    // Episode 1 has no hardcore levels.
    ASSERT_NE(Open(1, 1), nullptr);
    EXPECT_EQ(screen->FindButton(L"locked_d")->mShown, 0);
    EXPECT_EQ(screen->FindButton(L"unlocked_d")->mShown, 0);
    EXPECT_EQ(screen->mBadge, nullptr);
}

TEST_F(LevelSelectTest, HardcoreHasNoTabsNoUpgradeAndExplainsItselfOnce)
{
    ASSERT_NE(Open(0, 3), nullptr);
    EXPECT_TRUE(screen->mTabs->mTabs.empty());
    EXPECT_EQ(screen->FindButton(L"upgrade")->mShown, 0);
    EXPECT_EQ(screen->mPlates.size(), 2u);
    bool skulls = false;
    for (const NQFrameEntry* image : screen->mImages)
        skulls |= image->mName == L"skulls" && image->mShown;
    EXPECT_TRUE(skulls);
    Step();
    EXPECT_TRUE(Map()->mProgress->GetEventFlag(0));
    EXPECT_EQ(Map()->mScreenState, screen::kModalMessage);
    EXPECT_EQ(Map()->mPendingDialog, screen::kLevelSelect);
    while (Hud()->HasWindows())
        Hud()->CloseTopWindow();

    ASSERT_NE(Open(0, 3), nullptr);
    Step();
    EXPECT_EQ(Map()->mScreenState, screen::kLevelSelect);
}

TEST_F(LevelSelectTest, ATabPressSetsTheModeAndRebuildsThePlates)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(screen->mTabs->mTabs[1]->mSelected, 1);
    const HUDLevelPlate* before = Plate(0);
    ClearSounds();
    // Tab 1 (the current one) spans x 406..606, y 640..700.
    Press(506, 670);
    EXPECT_EQ(Heard(L"simple"), 1);
    EXPECT_NE(Plate(0), before);
    EXPECT_EQ(Map()->mMode, 1);
    Release(506, 670);

    Press(796, 670);
    EXPECT_EQ(Map()->mMode, 2);
    EXPECT_EQ(Map()->mProgress->GetMode(), 2);
    EXPECT_EQ(screen->mTabs->mTabs[2]->mSelected, 1);
}

TEST_F(LevelSelectTest, AnOpenPlateReleaseStartsItsLevel)
{
    ASSERT_NE(Open(), nullptr);
    tutorial->events.clear();
    Tap(130 + 125 * 3, 270);
    EXPECT_EQ(TopAs<HUDLevelSelect>(), screen);
    Tap(130, 270);
    EXPECT_EQ(Map()->mLevel, 0);
    EXPECT_EQ(TopAs<HUDLevelSelect>(), nullptr);
    EXPECT_NE(std::find(tutorial->events.begin(), tutorial->events.end(), L"level_1_1_start"),
              tutorial->events.end());
}

TEST_F(LevelSelectTest, MissingPicturesAndButtonsAreSkipped)
{
    std::vector<FixtureLayer> layers;
    for (const FixtureLayer& layer : LevelSelectLayers())
    {
        if (layer.name != "plate/complete" && layer.name != "stars_plate/plate" && layer.name != "plate/new" &&
            layer.name != "button/locked_d" && layer.name != "button/upgrade")
            layers.push_back(layer);
    }
    WriteLayout("nq/level_select", layers);
    SetStars(0, 0, 1, 2);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Plate(0)->mRect[2], 0);
    EXPECT_EQ(Plate(0)->mStatePicture, nullptr);
    // No background, but the stars themselves still show.
    EXPECT_EQ(Stars(Plate(0)), 2);
    EXPECT_TRUE(Plate(0)->mStarsLayer->mVisible);
    EXPECT_EQ(Plate(0)->mStarsLayer->GetImage(), nullptr);
    EXPECT_EQ(Plate(1)->mBadge, nullptr);
    EXPECT_EQ(screen->mBadge, nullptr);
    Step(0.1f);
    Record([&](render::Graphics* g) { screen->Draw(g); });
    Hud()->CloseTopWindow();
    ASSERT_NE(Open(0, 3), nullptr);
}

TEST_F(LevelSelectTest, TheTitleAndBadgeLeaveTheRootBoardWithTheScreen)
{
    layer::Layer* root = Board()->GetRootLayer();
    const size_t before = root->GetChildren().size();
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(root->GetChildren().size(), before + 3);
    EXPECT_EQ(screen->mTitle->GetText(), L"Forest");
    EXPECT_EQ(screen->mTitle->mPosition.x, 512.0f);
    EXPECT_EQ(screen->mTitle->mPosition.y, 130.0f);
    Hud()->CloseTopWindow();
    EXPECT_EQ(root->GetChildren().size(), before);
}
} // namespace
} // namespace gametest
