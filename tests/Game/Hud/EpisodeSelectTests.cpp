// The episode select: pages, pager motion, hits and drawing.
#include "MenuScreensFixture.h"
#include "QuadRecorder.h"

#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDLevelSelect.h"
#include "Game/Hud/HUDPager.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
class EpisodeSelectTest : public MenuScreensTest
{
protected:
    HUDEpisodeSelectIOS* Open()
    {
        Hud()->ShowEpisodeSelect();
        Step();
        screen = TopAs<HUDEpisodeSelectIOS>();
        return screen;
    }
    HUDPager& Pager() { return *screen->mPager; }
    // A drag from x0 to x1 at y 400 lasting `seconds`, then the release.
    void Drag(int x0, int x1, float seconds)
    {
        Press(x0, 400);
        Map()->OnMouseMove(x0, 400);
        Step(seconds);
        Map()->OnMouseMove(x1, 400);
        Release(x1, 400);
    }
    bool Shown(const wchar_t* name) { return screen->FindButton(name)->mShown != 0; }

    HUDEpisodeSelectIOS* screen = nullptr;
};

TEST_F(EpisodeSelectTest, PagesCarryLocksTextsAndBadges)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kEpisodeSelect);
    ASSERT_EQ(Pager().PageCount(), 3);
    const HUDEpisodePage* pages = Pager().mPages.data();
    // Episode 0 open with unseen levels; 1 needs 10 stars; 2 is coming soon.
    EXPECT_EQ(pages[0].lock, nullptr);
    EXPECT_EQ(pages[0].badge, screen->mNewFrame);
    EXPECT_EQ(pages[0].text, L"");
    EXPECT_EQ(pages[1].lock, screen->mLockFrame);
    EXPECT_EQ(pages[1].text, L"Need 10 stars");
    EXPECT_EQ(pages[1].badge, nullptr);
    EXPECT_EQ(pages[2].lock, screen->mLockFrame);
    EXPECT_EQ(pages[2].text, L"Soon");
    EXPECT_EQ(pages[0].plate->mName, L"plates/chapter_01");
    EXPECT_EQ(TextOf(*screen, L"levelName"), L"Forest");
    EXPECT_EQ(TextOf(*screen, L"caption"), L"Episodes");
    // 7 + 2 + 9 levels.
    EXPECT_EQ(TextOf(*screen, L"stars"), L"0/162");
}

TEST_F(EpisodeSelectTest, AClosedEpisodeWithoutLevelsHasNoText)
{
    Map()->mEpisodeSetup[2].levels = 0;
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Pager().mPages[2].lock, screen->mLockFrame);
    EXPECT_EQ(Pager().mPages[2].text, L"");
}

TEST_F(EpisodeSelectTest, TheBadgeGoesOnceEveryLevelWasSeen)
{
    Map()->mProgress->SetEpisodeVisited(0, 1, 7);
    Map()->mProgress->SetEpisodeVisited(0, 3, 2);
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Pager().mPages[0].badge, nullptr);
}

TEST_F(EpisodeSelectTest, DragsTurnSettleOrFlick)
{
    struct Case
    {
        int from, to;
        float seconds;
        int page;
    };
    // Stars enough for episode 1, so three pages turn freely from the middle.
    SetStars(0, 0, 1, 3);
    SetStars(0, 1, 1, 3);
    SetStars(0, 2, 1, 3);
    SetStars(0, 3, 1, 1);
    for (const Case& c : {Case{600, 500, 0.5f, 1}, Case{600, 540, 0.5f, 0}, Case{600, 540, 0.2f, 1},
                          Case{500, 600, 0.5f, 0}})
    {
        ASSERT_NE(Open(), nullptr);
        Drag(c.from, c.to, c.seconds);
        EXPECT_EQ(Pager().mCurrentPage, c.page) << c.from << "->" << c.to << " in " << c.seconds;
        // Settling at 800 units per second ends at rest.
        Step(0.5f);
        EXPECT_EQ(Pager().mState, HUDPager::kIdle);
        EXPECT_EQ(Pager().mOffset, 0.0f);
        Hud()->CloseTopWindow();
    }
}

TEST_F(EpisodeSelectTest, ThePagesCannotBePulledPastEitherEnd)
{
    ASSERT_NE(Open(), nullptr);
    Press(500, 400);
    Map()->OnMouseMove(500, 400);
    Map()->OnMouseMove(700, 400);
    EXPECT_EQ(Pager().mOffset, 0.0f);
    Release(700, 400);

    Pager().mCurrentPage = 2;
    Press(500, 400);
    Map()->OnMouseMove(500, 400);
    Map()->OnMouseMove(300, 400);
    EXPECT_EQ(Pager().mOffset, 0.0f);
    Release(300, 400);

    // From the first page the offset stops at two page widths.
    Pager().mCurrentPage = 0;
    Press(1000, 400);
    Map()->OnMouseMove(1000, 400);
    Map()->OnMouseMove(-2000, 400);
    EXPECT_EQ(Pager().mOffset, 640.0f);
}

TEST_F(EpisodeSelectTest, SettlingRunsAtEightHundredAndEndsTheMotion)
{
    ASSERT_NE(Open(), nullptr);
    Pager().mCurrentPage = 1;
    Pager().mOffset = 100.0f;
    Pager().mState = HUDPager::kSettlingBack;
    screen->mPlayFade = HUDEpisodeSelectIOS::kPlayHidden;
    screen->FindButton(L"play")->mColor[3] = 0.0f;
    Step(0.1f);
    EXPECT_FLOAT_EQ(Pager().mOffset, 20.0f);
    EXPECT_EQ(Pager().mState, HUDPager::kSettlingBack);
    Step(0.1f);
    EXPECT_EQ(Pager().mOffset, 0.0f);
    EXPECT_EQ(Pager().mState, HUDPager::kIdle);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayFadingIn);
}

TEST_F(EpisodeSelectTest, ThePlayButtonFadesAroundADrag)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayShown);
    Press(600, 400);
    Map()->OnMouseMove(600, 400);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayFadingOut);
    Step(0.3f);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayHidden);
    EXPECT_FALSE(Shown(L"play"));
    Map()->OnMouseMove(500, 400);
    Release(500, 400);
    // 100 units turn the page; 220 are left to settle, in the third step.
    Step(0.1f);
    Step(0.1f);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayHidden);
    Step(0.1f);
    EXPECT_EQ(Pager().mState, HUDPager::kIdle);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayFadingIn);
    EXPECT_TRUE(Shown(L"play"));
    Step(0.2f);
    EXPECT_EQ(screen->mPlayFade, HUDEpisodeSelectIOS::kPlayShown);
    EXPECT_EQ(screen->FindButton(L"play")->mColor[3], 1.0f);
}

TEST_F(EpisodeSelectTest, APlateTapOpensAnOpenEpisodeOnlyAtRest)
{
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(screen->HitTest(323, 201), 0);
    EXPECT_EQ(screen->HitTest(701, 569), 0);
    EXPECT_EQ(screen->HitTest(322, 400), -1);
    Pager().mState = HUDPager::kSettlingBack;
    Pager().mOffset = 50.0f;
    EXPECT_EQ(screen->HitTest(500, 400), -1);
    // "play" answers even while the pages settle.
    screen->FindButton(L"play")->mShown = 1;
    EXPECT_EQ(screen->HitTest(500, 630), 0);
    Pager().mState = HUDPager::kIdle;
    Pager().mOffset = 0.0f;
    Pager().mCurrentPage = 1;
    EXPECT_EQ(screen->HitTest(500, 400), -1);

    Pager().mCurrentPage = 0;
    Tap(500, 400);
    EXPECT_EQ(Map()->mScreenState, screen::kLevelSelect);
    EXPECT_NE(TopAs<HUDLevelSelect>(), nullptr);
    EXPECT_EQ(Map()->mEpisode, 0);
}

TEST_F(EpisodeSelectTest, ButtonsAndTheBandKeepDragsFromStarting)
{
    ASSERT_NE(Open(), nullptr);
    Step();
    for (auto [x, y] : {std::pair{70, 700}, std::pair{500, 630}, std::pair{500, 170}})
    {
        Press(x, y);
        Map()->OnMouseMove(x + 100, y);
        EXPECT_EQ(Pager().mState, HUDPager::kIdle) << x << "," << y;
        Map()->OnMouseUp(x + 100, y);
        while (Hud()->HasWindows() && !TopAs<HUDEpisodeSelectIOS>())
            Hud()->CloseTopWindow();
        if (!TopAs<HUDEpisodeSelectIOS>())
            Open();
    }
    EXPECT_FALSE(screen->mDragArmed);
}

TEST_F(EpisodeSelectTest, ArrowsShowOnlyTowardAPageAndTurnIt)
{
    ASSERT_NE(Open(), nullptr);
    Step();
    EXPECT_FALSE(Shown(L"arrow_left"));
    EXPECT_TRUE(Shown(L"arrow_right"));
    EXPECT_EQ(screen->HitTest(930, 380), -1);
    EXPECT_EQ(Pager().mCurrentPage, 1);
    EXPECT_EQ(Pager().mOffset, -320.0f);
    EXPECT_EQ(Pager().mState, HUDPager::kSettlingForward);
    EXPECT_EQ(TextOf(*screen, L"levelName"), L"Hills");
    Step(0.5f);
    Pager().mCurrentPage = 2;
    Step();
    EXPECT_TRUE(Shown(L"arrow_left"));
    EXPECT_FALSE(Shown(L"arrow_right"));
}

TEST_F(EpisodeSelectTest, PagesShrinkAwayFromTheCentre)
{
    EXPECT_FLOAT_EQ(HUDPager::PageScale(512.0f), 1.0f);
    EXPECT_FLOAT_EQ(HUDPager::PageScale(572.0f), 0.775f);
    EXPECT_FLOAT_EQ(HUDPager::PageScale(512.0f - 120.0f), 0.55f);
    EXPECT_FLOAT_EQ(HUDPager::PageScale(832.0f), 0.55f);
}

TEST_F(EpisodeSelectTest, AMissingChapterPictureDrawsTheTextsOnly)
{
    WriteLayout("nq/episode_select", EpisodeSelectLayers(3, 2));
    ASSERT_NE(Open(), nullptr);
    Pager().mCurrentPage = 1;
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { Pager().DrawPages(g); });
    const render::Texture* lock = TextureOf(screen->mLockFrame->mPicture);
    const render::Texture* first = TextureOf(Pager().mPages[0].plate->mPicture);
    EXPECT_EQ(Pager().mPages[1].plate->mPicture, nullptr);
    int plates = 0, locks = 0, letters = 0;
    for (const RecordedQuad& quad : quads)
    {
        plates += quad.texture == first ? 1 : 0;
        locks += quad.texture == lock ? 1 : 0;
        letters += quad.texture == FontPage(GameWindow::kFontLarge) ? 1 : 0;
    }
    EXPECT_EQ(plates, 1);
    EXPECT_EQ(locks, 2);
    EXPECT_GT(letters, 0);
}
} // namespace
} // namespace gametest
